#include "fileio.h"

#include "editorerror.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>
#include <filesystem>

QByteArray readWholeFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EditorError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EditorError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    return bytes;
}

namespace {

// QSaveFile syncs every file to the disk before renaming it; this does the same without the sync.
void writeWithoutSync(const QString &path, const QByteArray &bytes) {
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open())
        throw EditorError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EditorError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    file.close();
    std::error_code error;
    std::filesystem::rename(file.fileName().toStdString(), path.toStdString(), error);
    if (error)
        throw EditorError(QStringLiteral("Cannot write file \"%1\". %2")
                              .arg(path, QString::fromStdString(error.message())));
    file.setAutoRemove(false);
}

} // namespace

void writeWholeFileAtomic(const QString &path, const QByteArray &bytes, Durability durability) {
    if (durability == Durability::Deferred)
        return writeWithoutSync(path, bytes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EditorError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EditorError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

QString withExtension(const QString &path, const QString &extension) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot >= nameStart)
        return path.left(dot) + extension;
    return path + extension;
}
