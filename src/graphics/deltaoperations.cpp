#include "graphics/deltaoperations.h"

#include "graphics/bitmapchecks.h"
#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spritepicture.h"
#include "palette/palettetablefile.h"
#include "platform/fileio.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/prompts.h"

namespace {

bool checkCarSprite(const StyleDocument &doc, int sprite, Prompts &prompts) {
    if (isCarSprite(doc, sprite))
        return true;
    prompts.message(QStringLiteral("Sprite %1 is no car sprite; only car sprites have deltas.").arg(sprite));
    return false;
}

} // namespace

QString DeltaFileName(const StyleDocument &doc, int sprite) {
    return QStringLiteral("D_") + SpriteFileName(doc, sprite);
}

QString exportDeltaSheet(const StyleDocument &doc, int sprite, Prompts &prompts, DeltaView view) {
    const QImage sheet = renderDeltaSheet(doc, sprite, view);
    const std::optional<QString> path =
        prompts.saveFileName(FileKind::Sprite, IndexedPictureFilter, DeltaFileName(doc, sprite));
    if (!path)
        return QString();
    const QString target = picturePath(*path);
    savePicture8(target, sheet);
    return target;
}

std::optional<QImage> importDeltas(StyleDocument &doc, int sprite, Prompts &prompts, Log &log) {
    if (!checkCarSprite(doc, sprite, prompts))
        return std::nullopt;
    const std::optional<QString> path =
        prompts.openFileName(FileKind::Sprite, IndexedPictureFilter, DeltaFileName(doc, sprite));
    if (!path)
        return std::nullopt;
    return importDeltas(doc, sprite, PictureSource::file(*path), prompts, log);
}

std::optional<QImage> importDeltas(StyleDocument &doc, int sprite, const PictureSource &picture,
                                   Prompts &prompts, Log &log) {
    if (!checkCarSprite(doc, sprite, prompts))
        return std::nullopt;
    const LoadedBitmap bitmap = picture.read();
    const QSize sheetSize = deltaSheetSize(spritePicture(doc, sprite).size());
    if (bitmap.pixelFormatCode != Pf8Bit || bitmap.image.format() != QImage::Format_Indexed8) {
        prompts.message(QStringLiteral("pixel format is not 8 bit!") +
                        (isTrueColour(bitmap) ? QLatin1Char('\r') + TrueColourAdvice : QString()));
        return std::nullopt;
    }
    if (bitmap.image.width() != sheetSize.width()) {
        prompts.message(QStringLiteral("bitmap width is not %1pixels!").arg(sheetSize.width()));
        return std::nullopt;
    }
    if (bitmap.image.height() != sheetSize.height()) {
        prompts.message(QStringLiteral("bitmap height is not %1pixels!").arg(sheetSize.height()));
        return std::nullopt;
    }
    std::vector<QByteArray> deltas = encodeSheetDeltas(doc, sprite, bitmap.image);
    // The sheet shows the first twenty deltas only; those past them stay as they are.
    const std::optional<int> entry = findDeltaEntry(doc, sprite);
    const int count = entry ? doc.DeltaIndex[static_cast<std::size_t>(*entry)].delta_count : 0;
    for (int d = DeltaSheetCells; d < count; ++d)
        deltas.push_back(deltaBytes(doc, sprite, d).toByteArray());
    replaceSpriteDeltas(doc, sprite, deltas);
    if (count > DeltaSheetCells)
        log.append(
            QStringLiteral("sprite %1 has %2 deltas: the sheet replaced deltas 0 to %3, deltas %4 to %5 "
                           "were kept.")
                .arg(sprite)
                .arg(count)
                .arg(DeltaSheetCells - 1)
                .arg(DeltaSheetCells)
                .arg(count - 1));
    return renderDeltaSheet(doc, sprite, DeltaView::ChangesOnly);
}
