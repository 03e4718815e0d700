#include "clitest.h"

#include "platform/fileio.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct Shell {
    int status;
    QString out, err;
};

// Runs the real vyr2-sty through the shell `script`, which finds it as "$0" and the arguments
// as "$1" and on; `wrapper` goes before the shell (a program that sets up its surroundings).
Shell shell(const QString &script, const QStringList &args, const QStringList &wrapper = {}) {
    QProcess process;
    QStringList command = wrapper;
    command << "sh"
            << "-c" << script << VYR2_STY_PROGRAM << args;
    process.start(command.takeFirst(), command);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QFileDevice::Permissions modeOf(const QString &path) {
    return QFileInfo(path).permissions() &
           ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

constexpr QFileDevice::Permissions FileMode0640 =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
constexpr QFileDevice::Permissions FolderMode0750 = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                                    QFileDevice::ExeGroup;

struct FileWrites : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString(); }
};

TEST_F(FileWrites, AFullDiskNamesTheSystemsReasonAndTheChunkBeingWritten) {
    // The first page boundary inside the sprite store's chunk, read from the file's own headers.
    const QByteArray file = readWholeFile(dir.path("start.sty"));
    qint64 limit = 0;
    for (qint64 at = 6; at + 8 <= file.size() && limit == 0;) {
        const qint64 end = at + 8 + qFromLittleEndian<quint32>(file.constData() + at + 4);
        if (file.mid(at, 4) == "SPRG")
            limit = (at + 8 + 4096) / 4096 * 4096;
        ASSERT_LT(limit, end) << "the chunk spans no page boundary";
        at = end;
    }
    ASSERT_GT(limit, 0);

    // A file system that fills up: a small tmpfs in a mount namespace of the test's own.
    const QString full = dir.path("full");
    ASSERT_TRUE(QDir().mkdir(full));
    const QStringList unshare = {"unshare", "--user", "--map-root-user", "--mount"};
    const QString mount = QStringLiteral("mount -t tmpfs -o size=%1 tmpfs \"$1\" || exit 99; ");
    if (shell(mount.arg(4096), {full}, unshare).status != 0)
        GTEST_SKIP() << "no mount namespace for a small file system here";
    const Shell saved = shell(mount.arg(limit) + "\"$0\" resave \"$2\" \"$1/out\"; status=$?; ls -A \"$1\"; "
                                                 "exit $status",
                              {full, dir.path("start.sty")}, unshare);
    EXPECT_EQ(saved.status, 1);
    EXPECT_EQ(saved.err, QStringLiteral("Cannot write file \"%1/out.sty\". No space left on device had "
                                        "occured while writing: SPRG\n")
                             .arg(full));
    EXPECT_EQ(saved.out, QString()) << "nothing is left on the full disk";
}

TEST_F(FileWrites, ExportsAndUnpackedFoldersGetTheModesOfASave) {
    ASSERT_TRUE(QDir().mkdir(dir.path("tiles")));
    writeWholeFileAtomic(dir.path("tiles/VYR2_TILE_5.bmp"), "old");
    ASSERT_TRUE(QFile::setPermissions(dir.path("tiles/VYR2_TILE_5.bmp"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const Shell done = shell("umask 027 && \"$0\" resave \"$1/start.sty\" \"$1/saved\" >/dev/null && "
                             "\"$0\" export-tiles \"$1/start.sty\" \"$1/tiles\" >/dev/null && "
                             "\"$0\" unpack \"$1/start.sty\" \"$1/unpacked\" >/dev/null",
                             {dir.path("")});
    ASSERT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_EQ(modeOf(dir.path("saved.sty")), FileMode0640);
    EXPECT_EQ(modeOf(dir.path("tiles/VYR2_TILE_0.bmp")), FileMode0640);
    EXPECT_EQ(modeOf(dir.path("tiles/VYR2_TILE_5.bmp")), QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        << "a replaced file keeps its mode";
    EXPECT_TRUE(readWholeFile(dir.path("tiles/VYR2_TILE_5.bmp")).startsWith("BM"));
    EXPECT_EQ(modeOf(dir.path("unpacked")), FolderMode0750);
    int files = 0;
    for (QDirIterator it(dir.path("unpacked"), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QFileInfo entry(it.next());
        EXPECT_EQ(modeOf(entry.filePath()), entry.isDir() ? FolderMode0750 : FileMode0640)
            << entry.filePath().toStdString();
        files += entry.isFile();
    }
    EXPECT_GT(files, 10);
}

} // namespace
