// What a script sees of the built vyr2-sty when the file is damaged or memory runs short: every
// warning of the reader on standard error, --strict as a refusal, and never a file saved without
// what the style held.

#include "clitest.h"
#include "platform/fileio.h"
#include "style/littleendian.h"
#include "support/sanitizers.h"
#include "support/stylebytes.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct DamagedInput : CliTest {
    // The folder's entries other than the named ones: what a command left behind.
    QStringList othersIn(const QStringList &known) {
        QStringList names =
            QDir(dir.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString &name : known)
            names.removeAll(name);
        return names;
    }
};

TEST_F(DamagedInput, EveryLoadingCommandWarnsOfACutOffFileAndStrictRefusesIt) {
    ASSERT_EQ(runProgram({"sample", dir.path("whole.sty")}), 0) << err.toStdString();
    const QByteArray whole = readWholeFile(dir.path("whole.sty"));
    // Cut in the middle of the sprite pixels: every chunk after them is lost too.
    const qsizetype sprites = whole.indexOf("SPRG");
    ASSERT_GT(sprites, 0);
    const quint32 declared = readU32(whole.constData() + sprites + 4);
    const qsizetype cut = sprites + 8 + declared / 2;
    writeWholeFileAtomic(dir.path("cut.sty"), whole.left(cut));
    const QString cutFile = dir.path("cut.sty");
    const QString warning =
        QStringLiteral("warning: %1: chunk \"SPRG\" runs past the end of the file: %2 of %3 "
                       "bytes read\n")
            .arg(cutFile)
            .arg(declared / 2)
            .arg(declared);

    const QString target = dir.path("out");
    const std::vector<QStringList> commands = {
        {"info", cutFile},
        {"resave", cutFile, target + ".sty"},
        {"unpack", cutFile, target},
        {"export-tiles", cutFile, target},
        {"export-sprites", cutFile, target, "--start", "0", "--end", "1"},
        {"export-raw-tiles", cutFile, target + ".bmp"},
        {"export-palettes", cutFile, target + ".bmp"},
        {"export-pal", cutFile, "0", target + ".pal"},
        {"render-tiles", cutFile, target + ".png"},
        {"render-sprites", cutFile, target + ".png"},
        {"sprite-info", cutFile, "0"},
        {"deltas", cutFile, "0", target + ".bmp"},
        {"car-info", cutFile, "0"},
        {"mirror-doors", cutFile, target + ".sty"},
        {"add-palettes", cutFile, target + ".sty"},
        {"check", cutFile},
        {"diff", cutFile, dir.path("whole.sty")},
    };
    for (const QStringList &command : commands) {
        const std::string name = command.join(' ').toStdString();
        const int status = runProgram(command);
        EXPECT_NE(status, Crashed) << name;
        if (command[0] == "check") {
            // The reader's warning heads check's own list.
            EXPECT_TRUE(out.startsWith(QString(warning).remove(cutFile + ": "))) << out.toStdString();
        } else {
            EXPECT_TRUE(err.startsWith(warning)) << name << "\n" << err.toStdString();
        }
        QDir(target).removeRecursively();
        for (const QString &name : othersIn({"whole.sty", "cut.sty", "nyc.gci"}))
            QFile::remove(dir.path(name));

        // --strict: the warning, then a refusal; nothing written.
        // check and diff, as diff(1), tell trouble from what they found.
        EXPECT_EQ(runProgram(command + QStringList{"--strict"}),
                  command[0] == "diff" || command[0] == "check" ? 2 : 1)
            << name;
        EXPECT_TRUE(err.startsWith(warning)) << name << "\n" << err.toStdString();
        EXPECT_TRUE(err.contains(
            QStringLiteral("%1: not read, --strict refuses a file with warnings\n").arg(cutFile)))
            << name << "\n"
            << err.toStdString();
        EXPECT_EQ(othersIn({"whole.sty", "cut.sty", "nyc.gci"}), QStringList()) << name;
    }
    EXPECT_EQ(runProgram({"resave", dir.path("whole.sty"), target, "--strict"}), 0) << err.toStdString();
    EXPECT_EQ(err, QString());
    EXPECT_EQ(runProgram({"sample", target, "--strict"}), 2);
    EXPECT_EQ(err, "sample: unknown option --strict; see: vyr2-sty help sample\n");
}

TEST_F(DamagedInput, AFifoADeviceOrAFolderNamedAsAFileIsRefusedAtOnce) {
    ASSERT_EQ(QProcess::execute("mkfifo", {dir.path("fifo.sty")}), 0);
    QDir(dir.path(QString())).mkdir("folder.sty");
    ASSERT_EQ(runProgram({"sample", dir.path("start.sty")}), 0);
    for (const QString &name : {dir.path("fifo.sty"), QStringLiteral("/dev/zero"), dir.path("folder.sty")}) {
        EXPECT_EQ(runProgram({"info", name}), 1) << name.toStdString();
        EXPECT_EQ(err, QStringLiteral("Cannot read file \"%1\": it is no regular file (a folder, device or "
                                      "FIFO).\n")
                           .arg(name));
        // As a picture to import, too.
        EXPECT_EQ(runProgram({"import-tile", dir.path("start.sty"), "3", name, dir.path("out.sty")}), 1);
        EXPECT_TRUE(err.contains("it is no regular file")) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.path("out.sty")));
    }
}

TEST_F(DamagedInput, RepeatedChunksTrailingBytesAndMissingPalettesAreWarnedOf) {
    QByteArray file = styleFile({{"RECY", u8s({3, 1})}, {"SPEC", u16s({3, 0})}, {"RECY", u8s({2})}});
    file.append("\x01\x02\x03", 3);
    writeWholeFileAtomic(dir.path("odd.sty"), file);
    const qsizetype repeat = file.lastIndexOf("RECY");
    ASSERT_EQ(runProgram({"resave", dir.path("odd.sty"), dir.path("out.sty")}), 0) << err.toStdString();
    const QString prefix = QStringLiteral("warning: %1: ").arg(dir.path("odd.sty"));
    const QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << err.toStdString();
    EXPECT_EQ(lines[0],
              prefix + QStringLiteral("chunk \"RECY\" appears again at offset %1; this one replaces the "
                                      "earlier one")
                           .arg(repeat));
    EXPECT_EQ(lines[1],
              prefix + QStringLiteral("3 bytes at offset %1 are too short for a chunk header and were "
                                      "ignored")
                           .arg(file.size() - 3));
    EXPECT_TRUE(lines[2].startsWith(prefix + "The file holds no palettes")) << lines[2].toStdString();
    // The later list is the one saved.
    EXPECT_EQ(styleChunks(readWholeFile(dir.path("out.sty"))).at("RECY"), u8s({2}));
}

// Refused for want of memory: before the file was read, when opening it, or while the file was
// assembled.
bool shortOfMemory(const QString &err) {
    return err == "There is not enough memory for this command; it was stopped.\n" ||
           err.startsWith("There is not enough memory to open ") ||
           err.startsWith("A shortage of memory had occured while writing: ") ||
           (err.startsWith("Cannot read PNG file ") &&
            err.contains(": there is not enough memory for its picture."));
}

// The address space of the built program at its smallest: the least limit under which it can
// still print its help, found by halving.
std::function<void()> addressSpace(rlim_t bytes) {
    return [bytes] {
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
    };
}

rlim_t smallestWorkingLimit(DamagedInput &test) {
    rlim_t low = 1 << 20, high = rlim_t(1) << 32;
    while (high - low > (1 << 20)) {
        const rlim_t middle = (low + high) / 2;
        (test.runProgram({"--help"}, addressSpace(middle)) == 0 ? high : low) = middle;
    }
    return high;
}

TEST_F(DamagedInput, UnderEveryMemoryLimitAFileIsRefusedWithTheReasonOrSavedWhole) {
#ifdef VYR2_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves its memory up front, so a limit fails inside it";
#endif
    ASSERT_EQ(runProgram({"sample", "--large", dir.path("big.sty")}), 0) << err.toStdString();
    const QByteArray original = readWholeFile(dir.path("big.sty"));
    const rlim_t start = smallestWorkingLimit(*this);
    const QString refusal = QStringLiteral("There is not enough memory to open \"big.sty\".\n");
    int refusals = 0;
    bool saved = false;
    rlim_t limit = start;
    for (; !saved && limit < start + (256 << 20); limit += 2 << 20) {
        const std::string at = std::to_string((limit - start) >> 20) + " MiB above the least";
        const auto limited = addressSpace(limit);
        writeWholeFileAtomic(dir.path("inplace.sty"), original);
        const int inPlace = runProgram({"resave", dir.path("inplace.sty"), dir.path("inplace.sty")}, limited);
        const QString inPlaceErr = err;
        const int copy = runProgram({"resave", dir.path("big.sty"), dir.path("copy.sty")}, limited);
        for (const int status : {inPlace, copy})
            ASSERT_TRUE(status == 0 || status == 1) << at << ": exit status " << status << "\n"
                                                    << err.toStdString();
        // Refused with the reason, or saved whole: the bytes are the file's own either way.
        EXPECT_EQ(readWholeFile(dir.path("inplace.sty")), original) << at;
        if (inPlace == 1) {
            EXPECT_TRUE(shortOfMemory(inPlaceErr)) << at << ": " << inPlaceErr.toStdString();
        }
        if (copy == 0) {
            EXPECT_EQ(firstDifference(readWholeFile(dir.path("copy.sty")), original), -1) << at;
        } else {
            EXPECT_FALSE(QFileInfo::exists(dir.path("copy.sty"))) << at;
            EXPECT_TRUE(shortOfMemory(err)) << at << ": " << err.toStdString();
            refusals += err == refusal;
        }
        EXPECT_EQ(othersIn({"big.sty", "nyc.gci", "inplace.sty", "copy.sty"}), QStringList()) << at;
        saved = inPlace == 0 && copy == 0;
    }
    EXPECT_GT(refusals, 0) << "the range began where the file could not be opened";
    ASSERT_TRUE(saved) << "the range ended where the file was saved";

    // The other commands that hold a whole style, from the least limit to well past resave's.
    ASSERT_EQ(runProgram({"unpack", dir.path("big.sty"), dir.path("folder")}), 0) << err.toStdString();
    const QStringList files = {"big.sty", "nyc.gci", "inplace.sty", "copy.sty", "folder"};
    const QStringList info{"info", dir.path("big.sty")}, check{"check", dir.path("big.sty")},
        unpack{"unpack", dir.path("big.sty"), dir.path("unpacked")},
        pack{"pack", dir.path("folder"), dir.path("packed.sty")};
    std::vector<std::pair<rlim_t, QStringList>> runs;
    for (const rlim_t at : {start, (start + limit) / 2, limit, limit + (64 << 20)})
        for (const QStringList &command : {info, check, unpack, pack})
            runs.emplace_back(at, command);
    // The folder commands run threads and fill tables as they go, where a shortage once ended the
    // program: every few MiB across the range where they begin to work.
    for (rlim_t at = start; at < start + (60 << 20); at += 6 << 20)
        for (const QStringList &command : {unpack, pack})
            runs.emplace_back(at, command);
    for (const auto &[at, command] : runs) {
        const std::string name =
            std::to_string((at - start) >> 20) + " MiB above the least: " + command[0].toStdString();
        const int status = runProgram(command, addressSpace(at));
        const int refused = command[0] == "check" ? 2 : 1;
        ASSERT_TRUE(status == 0 || status == refused) << name << ": exit status " << status;
        // pack writes its file before it brings the folder in step with it, and says so.
        const bool savedFolderBehind =
            command[0] == "pack" && status == refused &&
            err.startsWith(QStringLiteral("\"%1\" was saved, but the folder").arg(dir.path("packed.sty")));
        if (savedFolderBehind) {
            EXPECT_TRUE(err.endsWith(": there is not enough memory.\n")) << name << ": " << err.toStdString();
            EXPECT_EQ(firstDifference(readWholeFile(dir.path("packed.sty")), original), -1) << name;
        } else if (status == refused) {
            EXPECT_TRUE(shortOfMemory(err)) << name << ": " << err.toStdString();
            EXPECT_EQ(othersIn(files), QStringList()) << name;
        } else if (command[0] == "pack") {
            EXPECT_EQ(firstDifference(readWholeFile(dir.path("packed.sty")), original), -1) << name;
        }
        QDir(dir.path("unpacked")).removeRecursively();
        QFile::remove(dir.path("packed.sty"));
    }
}

} // namespace
