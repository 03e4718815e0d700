#pragma once

#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <optional>

// Pictures a sprite or tile takes when dropped on it.
inline const QStringList PictureExtensions = {QStringLiteral(".bmp"), QStringLiteral(".png")};
inline const QStringList StyleExtensions = {QStringLiteral(".sty")};

// The local file a drag carries when it carries just one, with one of `extensions`.
inline std::optional<QString> draggedFile(const QMimeData *mime, const QStringList &extensions) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile())
        return std::nullopt;
    const QString path = mime->urls().first().toLocalFile();
    for (const QString &extension : extensions)
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return path;
    return std::nullopt;
}
