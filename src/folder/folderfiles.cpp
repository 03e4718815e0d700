#include "folderfiles.h"

#include "editorerror.h"
#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

QByteArray requiredFile(const FolderSource &source, const QString &name) {
    std::optional<QByteArray> bytes = source(name);
    if (!bytes)
        throw EditorError(QStringLiteral("%1: missing from the folder; nothing was written.").arg(name));
    return std::move(*bytes);
}

FolderSource diskFolder(const QString &dir) {
    return [dir](const QString &name) -> std::optional<QByteArray> {
        const QString path = QDir(dir).filePath(name);
        if (!QFileInfo(path).isFile())
            return std::nullopt;
        return readWholeFile(path);
    };
}

void writeFolder(const FolderFiles &files, const QString &dir) {
    const QFileInfo target(dir);
    if (target.exists() && (!target.isDir() || !QDir(dir).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                                  QDir::Hidden | QDir::System)))
        throw EditorError(
            QStringLiteral("\"%1\" exists and is not an empty folder; nothing was written.").arg(dir));
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        throw EditorError(QStringLiteral("The folder \"%1\" could not be created.").arg(parent));
    QTemporaryDir work(parent + QStringLiteral("/.") + target.fileName() + QStringLiteral("-XXXXXX"));
    if (!work.isValid())
        throw EditorError(QStringLiteral("A work folder in \"%1\" could not be created: %2")
                              .arg(parent, work.errorString()));
    // The folder is made inside the private one with the permissions the umask leaves, as any
    // new folder gets.
    const QString built = QDir(work.path()).filePath(QStringLiteral("folder"));
    if (!QDir().mkdir(built))
        throw EditorError(QStringLiteral("A work folder in \"%1\" could not be created.").arg(parent));
    QDir root(built);
    QSet<QString> made;
    for (const auto &[name, bytes] : files) {
        const QString path = root.filePath(name);
        const QString folder = QFileInfo(path).path();
        if (!made.contains(folder)) {
            if (!root.mkpath(folder))
                throw EditorError(QStringLiteral("The folder of \"%1\" could not be created.").arg(path));
            made.insert(folder);
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
            throw EditorError(
                QStringLiteral("\"%1\" could not be written: %2").arg(path, file.errorString()));
    }
    if (target.exists())
        QDir().rmdir(target.absoluteFilePath());
    if (!QDir().rename(built, target.absoluteFilePath()))
        throw EditorError(QStringLiteral("The folder \"%1\" could not be put in place.").arg(dir));
}
