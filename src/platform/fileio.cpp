#include "platform/fileio.h"

#include "platform/largepages.h"

#include "platform/editorerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads the regular file `path`; with `missing` given, a missing file sets it and reads as nothing
// instead of being refused. Opening a FIFO for reading waits for a writer and a device can be
// endless: the file is opened without waiting and read only when the opened file is a regular one.
// One open, a status call on the open file and the reads: a folder of thousands of files is read
// at the pace of the system, each name looked up once.
QByteArray readRegularFile(const QString &path, bool *missing) {
    const QByteArray name = QFile::encodeName(path);
    const auto noRegularFile = [&path] {
        return EditorError(
            QStringLiteral("Cannot read file \"%1\": it is no regular file (a folder, device or FIFO).")
                .arg(path));
    };
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT && missing) {
            *missing = true;
            return QByteArray();
        }
        // A socket cannot be opened at all; it is named as what it is rather than by the reason.
        struct stat status {};
        if (::stat(name.constData(), &status) == 0 && !S_ISREG(status.st_mode))
            throw noRegularFile();
        throw EditorError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, systemReason(error)));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw EditorError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, systemReason(error)));
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        throw noRegularFile();
    }
    // The size is a hint: a file that grows or shrinks meanwhile is read to its end. A read that
    // stops short at that size has met the end, and the end is not asked for once more.
    QByteArray bytes;
    bytes.resize(qsizetype(status.st_size) + 1);
    preferLargePages(bytes.data(), std::size_t(bytes.size()));
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const std::size_t wanted = std::size_t(bytes.size() - filled);
        const ssize_t n = ::read(fd, bytes.data() + filled, wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw EditorError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, systemReason(error)));
        }
        if (n == 0)
            break;
        filled += n;
        if (filled == status.st_size && std::size_t(n) < wanted)
            break;
    }
    ::close(fd);
    bytes.truncate(filled);
    return bytes;
}

} // namespace

QByteArray readWholeFile(const QString &path) {
    return readRegularFile(path, nullptr);
}

std::optional<QByteArray> readFileIfPresent(const QString &path) {
    bool missing = false;
    QByteArray bytes = readRegularFile(path, &missing);
    if (missing)
        return std::nullopt;
    return bytes;
}

bool isRegularFile(const QString &path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

namespace {

// The file a write to `path` replaces: links are followed to the file they lead to.
QString finalTarget(const QString &path) {
    QFileInfo info(path);
    for (int hop = 0; hop < 40 && info.isSymLink(); ++hop)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

// A temporary file beside the target, removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const QByteArray &target) {
        // Created like any new file, so the umask decides its permissions.
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            name_ = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd_ = ::open(name_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!placed_)
            ::unlink(name_.constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return fd_; }
    const QByteArray &name() const { return name_; }
    // Closes the file; false with errno set when the system reports a late write error.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }
    void placed() { placed_ = true; }

private:
    QByteArray name_;
    int fd_ = -1;
    bool placed_ = false;
};

} // namespace

void writeWholeFileAtomic(const QString &path, const QByteArray &bytes, Durability durability) {
    const QByteArray target = QFile::encodeName(finalTarget(path));
    const auto failed = [&](qint64 written) {
        return FileWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, systemReason(errno)),
                              written);
    };
    struct stat replaced {};
    const bool replaces = ::stat(target.constData(), &replaced) == 0;
    TemporaryFile file(target);
    if (file.fd() < 0)
        throw FileWriteError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, systemReason(errno)),
                             -1);
    if (replaces && ::fchmod(file.fd(), replaced.st_mode & 0777) != 0)
        throw failed(-1);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 piece = std::min<qint64>(bytes.size() - written, qint64(1) << 30);
        const ssize_t n = ::write(file.fd(), bytes.constData() + written, std::size_t(piece));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw failed(written);
        written += n;
    }
    if (durability == Durability::Synced && ::fsync(file.fd()) != 0)
        throw failed(-1);
    if (!file.close())
        throw failed(-1);
    if (::rename(file.name().constData(), target.constData()) != 0)
        throw failed(-1);
    file.placed();
}

qsizetype fileNameStart(const QString &path) {
    return QDir::fromNativeSeparators(path).lastIndexOf(QLatin1Char('/')) + 1;
}

void allowOwnerWrite(const QString &path) {
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

QString withExtension(const QString &path, const QString &extension) {
    const qsizetype nameStart = fileNameStart(path);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot >= nameStart)
        return path.left(dot) + extension;
    return path + extension;
}
