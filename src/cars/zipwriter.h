#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

struct ZipBuffer;

// Builds a zip archive in memory, so the file is written whole or not at all. Every entry is a
// file deflated at level 9 without folder, extra field or comment, stamped with its source
// file's last-write time as local DOS date and time. Names are UTF-8, flagged as such when they
// are not ASCII.
class ZipWriter {
public:
    // Throws EditorError when minizip cannot start an archive.
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter &) = delete;
    ZipWriter &operator=(const ZipWriter &) = delete;

    // Adds the file at `source` under `entryName`, reading it in blocks of 8192 bytes. Throws
    // EditorError naming the file when it cannot be read or compressed.
    void addFile(const QString &source, const QString &entryName);
    // Closes the archive (it has no comment) and gives its bytes. Throws EditorError on failure.
    QByteArray finish();

private:
    std::unique_ptr<ZipBuffer> buffer_;
    void *zip_ = nullptr;
};
