#include "graphics/rawstore.h"

#include "graphics/bitmapchecks.h"
#include "palette/colourmapping.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "style/styledocument.h"

QString exportRawStore(const QImage &store, FileKind kind, Prompts &prompts) {
    const std::optional<QString> path = prompts.saveFileName(kind, IndexedPictureFilter, QString());
    if (!path)
        return QString();
    QImage ramped = store;
    ramped.setColorTable(greyRamp());
    const QString target = picturePath(*path);
    savePicture8(target, ramped);
    return target;
}

std::optional<QImage> importRawStore(const QImage &current, const PictureSource &picture, int maxPages,
                                     const QString &what, const QString &rule, Prompts &prompts, Log &log) {
    const LoadedBitmap bitmap = picture.read();
    if (!isPixelStore(bitmap, maxPages)) {
        prompts.message(formatMessage(rule, bitmap));
        return std::nullopt;
    }
    const QString graphics = QStringLiteral("the %1 graphics").arg(what);
    std::optional<QImage> store = matchColours(
        bitmap, picture.name(),
        {greyRamp(), QStringLiteral("the grey ramp of the raw %1 bitmap").arg(what), graphics}, prompts, log);
    if (store)
        if (const std::optional<QString> change = transparencyChange(current, *store))
            log.append(QStringLiteral("%1: %2.").arg(graphics, *change));
    return store;
}
