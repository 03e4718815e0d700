#include "graphics/spriteoperations.h"

#include "graphics/bitmapchecks.h"
#include "graphics/rawstore.h"
#include "graphics/spriteentries.h"
#include "palette/colourmapping.h"
#include "palette/palettelookup.h"
#include "palette/palettetablefile.h"
#include "platform/fileio.h"
#include "platform/imagememory.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/prompts.h"

#include <QDir>
#include <algorithm>
#include <cstring>
#include <optional>

namespace {

bool checkSprite(const StyleDocument &doc, int sprite, Prompts &prompts) {
    if (inRange(0, doc.spriteCount(), sprite))
        return true;
    if (doc.spriteCount() == 0)
        prompts.message(QStringLiteral("There is no sprite %1: the style has no sprites.").arg(sprite));
    else
        prompts.message(QStringLiteral("There is no sprite %1; the sprites are numbered 0 to %2.")
                            .arg(sprite)
                            .arg(doc.spriteCount() - 1));
    return false;
}

// The bitmap's colours become the palette's; a shorter colour table leaves the rest as they were.
void writePalette(StyleDocument &doc, int palette, const LoadedBitmap &bitmap) {
    for (int c = 0; c < bitmap.fileColours; ++c)
        writetoclut(doc, palette, c, fromRgb(bitmap.image.color(c)));
}

void copyPixels(StyleDocument &doc, int sprite, const QImage &bitmap) {
    const SpriteEntry &entry = entryOf(doc, sprite);
    const int top = entry.page() * PageSide + entry.y();
    for (int row = 0; row < entry.h; ++row)
        std::memcpy(writableLine(doc.SpriteStore, top + row) + entry.x(), bitmap.constScanLine(row), entry.w);
}

// Why the sprite has no picture to write, or nothing when it has one.
std::optional<QString> noPictureReason(const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = entryOf(doc, sprite);
    if (entry.w == 0 || entry.h == 0)
        return QStringLiteral("it is %1*%2 pixels, so it has no picture").arg(entry.w).arg(entry.h);
    if (!spriteOnItsPage(doc, entry))
        return QStringLiteral("it does not lie wholly on a page of the sprite graphics (page %1, x %2, "
                              "y %3, %4*%5 pixels)")
            .arg(entry.page())
            .arg(entry.x())
            .arg(entry.y())
            .arg(entry.w)
            .arg(entry.h);
    return std::nullopt;
}

// Tells the user why nothing can be imported into the sprite; true when something can.
bool checkImportable(const StyleDocument &doc, int sprite, Prompts &prompts) {
    if (!checkSprite(doc, sprite, prompts))
        return false;
    const SpriteEntry entry = entryOf(doc, sprite);
    if (!spriteOnItsPage(doc, entry)) {
        prompts.message(QStringLiteral("Sprite %1 does not lie wholly on a page of the sprite graphics "
                                       "(page %2, x %3, y %4, %5*%6 pixels), so nothing can be imported "
                                       "into it.")
                            .arg(sprite)
                            .arg(entry.page())
                            .arg(entry.x())
                            .arg(entry.y())
                            .arg(entry.w)
                            .arg(entry.h));
        return false;
    }
    return true;
}

// Tells the user why the sprite has no picture to export; true when it has one.
bool checkExportable(const StyleDocument &doc, int sprite, Prompts &prompts) {
    if (!checkSprite(doc, sprite, prompts))
        return false;
    if (const std::optional<QString> reason = noPictureReason(doc, sprite)) {
        prompts.message(QStringLiteral("Sprite %1 cannot be exported: %2.").arg(sprite).arg(*reason));
        return false;
    }
    return true;
}

int raisedEnd(int start, int end) {
    return std::max(start, end);
}

} // namespace

QString exportSprite(const StyleDocument &doc, int sprite, Prompts &prompts) {
    if (!checkExportable(doc, sprite, prompts))
        return QString();
    const std::optional<QString> path =
        prompts.saveFileName(FileKind::Sprite, IndexedPictureFilter, SpriteFileName(doc, sprite));
    return path ? exportSpriteTo(doc, sprite, *path, prompts) : QString();
}

QString exportSpriteTo(const StyleDocument &doc, int sprite, const QString &path, Prompts &prompts) {
    if (!checkExportable(doc, sprite, prompts))
        return QString();
    const QString target = picturePath(path);
    savePicture8(target, spriteGlyph(doc, sprite));
    return target;
}

bool importSprite(StyleDocument &doc, int sprite, Prompts &prompts, Log &log) {
    if (!checkImportable(doc, sprite, prompts))
        return false;
    const std::optional<QString> path =
        prompts.openFileName(FileKind::Sprite, IndexedPictureFilter, SpriteFileName(doc, sprite));
    return path && importSprite(doc, sprite, PictureSource::file(*path), prompts, log);
}

bool importSprite(StyleDocument &doc, int sprite, const PictureSource &picture, Prompts &prompts, Log &log) {
    if (!checkImportable(doc, sprite, prompts))
        return false;
    const SpriteEntry entry = entryOf(doc, sprite);
    const LoadedBitmap bitmap = picture.read();
    const QString rule =
        QStringLiteral("error: bitmap must be 8 bit size: %1*%2 pixels.").arg(entry.w).arg(entry.h);
    const bool trueColour = isTrueColour(bitmap);
    if (!(isEightBit(bitmap) || trueColour) || bitmap.image.width() != entry.w ||
        bitmap.image.height() != entry.h) {
        prompts.message(formatMessage(rule, bitmap));
        return false;
    }

    const SpriteImportChoice choice = prompts.importChoice();
    if (choice == SpriteImportChoice::Cancel)
        return false;
    const bool pick =
        choice != SpriteImportChoice::ImportOverCurrent && choice != SpriteImportChoice::PixelsOnly;
    const bool write =
        choice != SpriteImportChoice::ChangePaletteOnly && choice != SpriteImportChoice::PixelsOnly;
    const bool copy =
        choice != SpriteImportChoice::ChangePaletteOnly && choice != SpriteImportChoice::PaletteHack;
    if (write && trueColour) {
        prompts.message(formatMessage(rule, bitmap));
        return false;
    }

    const int virtualPalette = spriteVirtualPalette(doc, sprite);
    const std::optional<int> original = physicalPaletteOf(doc, virtualPalette);
    if ((pick || write) && !original) {
        prompts.message(
            QStringLiteral("Sprite %1 has no entry in the palette index, so its palette cannot be "
                           "changed.")
                .arg(sprite));
        return false;
    }
    // Work on a copy so that a refused palette number leaves the document as it was.
    StyleDocument changed = doc;
    int palette = original.value_or(0);
    if (pick) {
        bool refused = false;
        if (const std::optional<int> chosen =
                pickStoredPalette(changed, QString::number(palette), prompts, &refused)) {
            palette = *chosen;
            changed.PaletteIndex[static_cast<std::size_t>(virtualPalette)] = static_cast<quint16>(palette);
        }
        if (refused)
            return false;
    }
    // A palette past the count is not saved: the colours written there would be lost.
    if (write) {
        if (const QString refusal = missingPaletteMessage(changed, palette); !refusal.isEmpty()) {
            prompts.message(refusal);
            return false;
        }
    }
    // Pixels that keep showing the sprite's palette are brought to its colours; with the file's
    // colours written, its indexes are taken as stored.
    QImage pixels = bitmap.image;
    if (copy && !write && original) {
        ColourTarget target = paletteTarget(doc, *original, QStringLiteral("sprite %1").arg(sprite));
        target.shown = spriteGlyph(doc, sprite);
        const std::optional<QImage> matched = matchColours(bitmap, picture.name(), target, prompts, log);
        if (!matched)
            return false;
        pixels = *matched;
    } else if (copy && trueColour) {
        prompts.message(QStringLiteral("Sprite %1 has no entry in the palette index, so there is no palette "
                                       "to match the colours of \"%2\" to.")
                            .arg(sprite)
                            .arg(picture.name()));
        return false;
    }
    if (write)
        writePalette(changed, palette, bitmap);
    if (copy) {
        if (const std::optional<QString> change = transparencyChange(spriteGlyph(doc, sprite), pixels))
            log.append(QStringLiteral("sprite %1: %2.").arg(sprite).arg(*change));
        copyPixels(changed, sprite, pixels);
    }
    if (choice == SpriteImportChoice::PaletteHack && original)
        changed.PaletteIndex[static_cast<std::size_t>(virtualPalette)] = static_cast<quint16>(*original);
    doc = std::move(changed);
    return true;
}

bool addSpritePage(StyleDocument &doc, Prompts &prompts) {
    const int pages = doc.spritePageCount();
    if (pages >= PixelStorePageCapacity) {
        prompts.message(QStringLiteral("The sprite graphics already hold %1 pages, the most a style file can "
                                       "hold.")
                            .arg(pages));
        return false;
    }
    if (prompts.confirm(AddSpritePageQuestion) == Answer::No)
        return false;
    QImage grown = makePixelStore((pages + 1) * PageSide);
    grown.fill(0);
    if (!doc.SpriteStore.isNull()) {
        grown.setColorTable(doc.SpriteStore.colorTable());
        for (int y = 0; y < pages * PageSide; ++y)
            std::memcpy(grown.scanLine(y), doc.SpriteStore.constScanLine(y), PageSide);
    }
    doc.SpriteStore = grown;
    return true;
}

bool removeSpritePage(StyleDocument &doc, Prompts &prompts) {
    const int pages = doc.spritePageCount();
    if (pages <= 1) {
        prompts.message(QStringLiteral("The sprite graphics keep at least one page."));
        return false;
    }
    if (prompts.confirm(RemoveSpritePageQuestion) == Answer::No)
        return false;
    doc.SpriteStore = allocated(doc.SpriteStore.copy(0, 0, PageSide, (pages - 1) * PageSide));
    return true;
}

QString exportRawSprites(const StyleDocument &doc, Prompts &prompts) {
    if (doc.SpriteStore.isNull()) {
        prompts.message(QStringLiteral("The style has no sprite graphics to export."));
        return QString();
    }
    return exportRawStore(doc.SpriteStore, FileKind::Sprite, prompts);
}

bool importRawSprites(StyleDocument &doc, Prompts &prompts, Log &log) {
    const std::optional<QString> path =
        prompts.openFileName(FileKind::Sprite, IndexedPictureFilter, QString());
    return path && importRawSprites(doc, PictureSource::file(*path), prompts, log);
}

bool importRawSprites(StyleDocument &doc, const PictureSource &picture, Prompts &prompts, Log &log) {
    const std::optional<QImage> store =
        importRawStore(doc.SpriteStore, picture, PixelStorePageCapacity, QStringLiteral("sprite"),
                       QStringLiteral("error: sprite graphics must be an 8 bit bitmap 256 pixels wide and "
                                      "256 to 65536 pixels high in steps of 256 (1 to 256 pages)."),
                       prompts, log);
    if (!store)
        return false;
    doc.SpriteStore = *store;
    return true;
}

int exportSpriteRange(const StyleDocument &doc, int start, int end, Prompts &prompts, Log &log,
                      const std::function<void(int)> &select, PictureFormat format) {
    end = raisedEnd(start, end);
    if (!checkSprite(doc, start, prompts) || !checkSprite(doc, end, prompts))
        return 0;
    std::optional<QString> folder = prompts.folder(SpriteFolderTitle);
    if (!folder)
        return 0;
    if (!QDir::fromNativeSeparators(*folder).endsWith(QLatin1Char('/')))
        folder->append(QLatin1Char('/'));
    int written = 0;
    for (int sprite = start; sprite <= end; ++sprite) {
        if (select)
            select(sprite);
        if (const std::optional<QString> reason = noPictureReason(doc, sprite)) {
            log.append(QStringLiteral("sprite %1 skipped: %2.").arg(sprite).arg(*reason));
            continue;
        }
        savePicture8(withExtension(*folder + SpriteFileName(doc, sprite), pictureExtension(format)),
                     spriteGlyph(doc, sprite), Durability::Deferred);
        ++written;
    }
    return written;
}

int importSpriteRange(StyleDocument &doc, int start, int end, Prompts &prompts, Log &log,
                      const std::function<void(int)> &select, const std::function<void(int)> &imported) {
    const auto askFile = [&](int sprite) -> std::optional<PictureSource> {
        if (!checkImportable(doc, sprite, prompts))
            return std::nullopt;
        const std::optional<QString> path =
            prompts.openFileName(FileKind::Sprite, IndexedPictureFilter, SpriteFileName(doc, sprite));
        return path ? std::optional(PictureSource::file(*path)) : std::nullopt;
    };
    return importSpriteRange(doc, start, end, askFile, prompts, log, select, imported);
}

int importSpriteRange(StyleDocument &doc, int start, int end,
                      const std::function<std::optional<PictureSource>(int)> &pictureOf, Prompts &prompts,
                      Log &log, const std::function<void(int)> &select,
                      const std::function<void(int)> &imported) {
    end = raisedEnd(start, end);
    if (!checkSprite(doc, start, prompts) || !checkSprite(doc, end, prompts))
        return 0;
    int count = 0;
    for (int sprite = start; sprite <= end; ++sprite) {
        if (select)
            select(sprite);
        const std::optional<PictureSource> picture = pictureOf(sprite);
        if (!picture || !importSprite(doc, sprite, *picture, prompts, log))
            continue;
        ++count;
        if (imported)
            imported(sprite);
    }
    return count;
}
