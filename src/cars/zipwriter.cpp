#include "cars/zipwriter.h"

#include "platform/editorerror.h"
#include "platform/filetime.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <zip.h>

struct ZipBuffer {
    QByteArray bytes;
    qint64 position = 0;
};

namespace {

constexpr qint64 ReadBlock = 8192;
// General purpose flag bit 11: the entry's name is UTF-8. Set only for names that are not ASCII,
// so ASCII names keep the flags every zip reader has always read.
constexpr uLong Utf8NameFlag = 1 << 11;
// "Version made by" of such an entry: an NTFS host, zip format 2.0. Info-ZIP's unzip converts the
// names of entries made on a FAT host (version made by 0) from the DOS code page even when they
// are flagged UTF-8; an NTFS host's names it takes as stored, and its file attributes it reads the
// same DOS way as a FAT host's.
constexpr uLong Utf8NameMadeBy = 11 << 8 | 20;
// zlib's default memory level for deflate, as zipOpenNewFileInZip uses it.
constexpr int DeflateMemLevel = 8;

ZipBuffer &bufferOf(voidpf stream) {
    return *static_cast<ZipBuffer *>(stream);
}

voidpf openBuffer(voidpf opaque, const void *, int) {
    return opaque;
}

uLong readBuffer(voidpf, voidpf stream, void *to, uLong size) {
    ZipBuffer &b = bufferOf(stream);
    const qint64 count = std::clamp<qint64>(b.bytes.size() - b.position, 0, qint64(size));
    std::memcpy(to, b.bytes.constData() + b.position, std::size_t(count));
    b.position += count;
    return uLong(count);
}

uLong writeBuffer(voidpf, voidpf stream, const void *from, uLong size) {
    ZipBuffer &b = bufferOf(stream);
    const qint64 end = b.position + qint64(size);
    if (end > b.bytes.size())
        b.bytes.resize(end);
    std::memcpy(b.bytes.data() + b.position, from, size);
    b.position = end;
    return size;
}

ZPOS64_T tellBuffer(voidpf, voidpf stream) {
    return ZPOS64_T(bufferOf(stream).position);
}

long seekBuffer(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    ZipBuffer &b = bufferOf(stream);
    qint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = b.position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = b.bytes.size();
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > b.bytes.size())
        return -1;
    b.position = target;
    return 0;
}

int closeBuffer(voidpf, voidpf) {
    return 0;
}

int bufferError(voidpf, voidpf) {
    return 0;
}

} // namespace

ZipWriter::ZipWriter() : buffer_(std::make_unique<ZipBuffer>()) {
    zlib_filefunc64_def functions{openBuffer, readBuffer,  writeBuffer, tellBuffer,
                                  seekBuffer, closeBuffer, bufferError, buffer_.get()};
    zip_ = zipOpen2_64("archive in memory", APPEND_STATUS_CREATE, nullptr, &functions);
    if (!zip_)
        throw EditorError(QStringLiteral("The zip archive could not be started."));
}

ZipWriter::~ZipWriter() {
    if (zip_)
        zipClose(static_cast<zipFile>(zip_), nullptr);
}

void ZipWriter::addFile(const QString &source, const QString &entryName) {
    if (!zip_)
        throw EditorError(QStringLiteral("The zip archive is already closed."));
    const auto failed = [&](const QString &reason) {
        return EditorError(QStringLiteral("Cannot add \"%1\" to the archive: %2").arg(source, reason));
    };
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw failed(file.errorString());
    const DosDateTime stamp = lastWriteDosDateTime(source);
    zip_fileinfo info{};
    info.dosDate = (uLong(stamp.date) << 16) | stamp.time;
    const auto zip = static_cast<zipFile>(zip_);
    const QByteArray name = entryName.toUtf8();
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x80; });
    if (zipOpenNewFileInZip4(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 0,
                             -MAX_WBITS, DeflateMemLevel, Z_DEFAULT_STRATEGY, nullptr, 0,
                             ascii ? 0 : Utf8NameMadeBy, ascii ? 0 : Utf8NameFlag) != ZIP_OK)
        throw failed(QStringLiteral("the entry could not be started."));
    QByteArray block(ReadBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 count = file.read(block.data(), ReadBlock);
        if (count < 0) {
            zipCloseFileInZip(zip);
            throw failed(file.errorString());
        }
        if (count == 0)
            break;
        if (zipWriteInFileInZip(zip, block.constData(), unsigned(count)) != ZIP_OK) {
            zipCloseFileInZip(zip);
            throw failed(QStringLiteral("the data could not be compressed."));
        }
    }
    if (zipCloseFileInZip(zip) != ZIP_OK)
        throw failed(QStringLiteral("the entry could not be finished."));
}

QByteArray ZipWriter::finish() {
    if (!zip_)
        throw EditorError(QStringLiteral("The zip archive is already closed."));
    const int status = zipClose(static_cast<zipFile>(zip_), nullptr);
    zip_ = nullptr;
    if (status != ZIP_OK)
        throw EditorError(
            QStringLiteral("The zip archive could not be finished (minizip error %1).").arg(status));
    return buffer_->bytes;
}
