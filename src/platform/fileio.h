#pragma once

#include "platform/editorerror.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Reads the whole file; throws EditorError with the system's reason when it cannot, and for a
// folder, device or FIFO.
QByteArray readWholeFile(const QString &path);
// The same, but nothing when there is no file at `path`.
std::optional<QByteArray> readFileIfPresent(const QString &path);

// Whether `path` names a regular file, following links. Reading a FIFO waits for a writer and a
// device such as /dev/zero never ends, so files found by name rather than chosen are checked first.
bool isRegularFile(const QString &path);

// Whether a write waits until the bytes are on the disk. Saving the document does; bulk exports of
// hundreds of small files, which can be made again at any time, leave it to the system.
enum class Durability { Synced, Deferred };

// A failed write: the text gives the system's reason; `written` is how many bytes of the buffer
// reached the file before it failed, or -1 when the file as a whole failed (it could not be created,
// synced or put in place).
class FileWriteError : public EditorError {
public:
    FileWriteError(const QString &text, qint64 written) : EditorError(text), written_(written) {}
    qint64 written() const { return written_; }

private:
    qint64 written_;
};

// Writes the buffer to a temporary file beside `path` and renames it over `path`, so the target
// is either the old file or the complete new one. A link is followed: the file it leads to is
// replaced. A new file gets the permissions the umask leaves; a replaced file keeps its own.
// Throws FileWriteError on failure, leaving nothing behind.
void writeWholeFileAtomic(const QString &path, const QByteArray &bytes,
                          Durability durability = Durability::Synced);

// Where the file name in `path` starts: after its last separator, a backslash counting as one
// where the system takes it as one.
qsizetype fileNameStart(const QString &path);

// Lets the owner write the existing file `path`, so that a file written in its place, which keeps
// its permissions, can be written again.
void allowOwnerWrite(const QString &path);

// `path` with the extension of its file name replaced by `extension` (".sty"), or with
// `extension` appended when the name has none.
QString withExtension(const QString &path, const QString &extension);
