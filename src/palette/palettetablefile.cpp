#include "palette/palettetablefile.h"

#include "palette/palettelookup.h"
#include "palette/paletteusage.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/imagememory.h"
#include "platform/prompts.h"

QString exportPaletteTable(const StyleDocument &doc, Prompts &prompts) {
    const std::optional<QString> chosen =
        prompts.saveFileName(FileKind::Palette, BitmapFilter, PaletteTableFileName);
    if (!chosen)
        return QString();
    const QString path = withExtension(*chosen, QStringLiteral(".bmp"));
    saveBitmap24(path, makeClut1(doc));
    return path;
}

bool importPaletteTable(StyleDocument &doc, Prompts &prompts) {
    const std::optional<QString> chosen =
        prompts.openFileName(FileKind::Palette, BitmapFilter, PaletteTableFileName);
    return chosen && importPaletteTable(doc, *chosen, prompts);
}

bool importPaletteTable(StyleDocument &doc, const QString &path, Prompts &prompts) {
    const LoadedBitmap loaded = loadBitmap(path);
    const int width = loaded.image.width();
    if (loaded.pixelFormatCode != Pf24Bit) {
        prompts.message(QStringLiteral(
            "What kind of a joker are you? THE CLUT BITMAP MUST BE 24 BIT, IT STORES PALETTES YOU IDIOT!"));
        return false;
    }
    if (width % 64 != 0) {
        prompts.message(
            QStringLiteral("invalid clut size, width not dividable by 64!\rTry %1.").arg(width - width % 64));
        return false;
    }
    if (loaded.image.height() != 256) {
        prompts.message(QStringLiteral("invalid clut size, height must be 256!"));
        return false;
    }
    if (width > PaletteStoreCapacity) {
        prompts.message(QStringLiteral("invalid clut size, a style file holds at most %1 palettes!\rTry %1.")
                            .arg(PaletteStoreCapacity));
        return false;
    }

    if (!confirmPaletteCount(doc, width, prompts))
        return false;

    const QImage picture = allocated(loaded.image.convertToFormat(QImage::Format_RGB32));
    doc.PhysicalPaletteCount = width;
    for (int c = 0; c < 256; ++c) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(c));
        for (int p = 0; p < width; ++p)
            writetoclut(doc, p, c, fromRgb(row[p]));
    }
    return true;
}
