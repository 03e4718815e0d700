#include "graphics/graphicfile.h"

#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "platform/forwardingprompts.h"
#include "platform/imagememory.h"

#include <QHash>

QString Graphic::name() const {
    return (kind == GraphicKind::Sprite ? QStringLiteral("sprite %1") : QStringLiteral("tile %1"))
        .arg(number);
}

QImage graphicPicture(const StyleDocument &doc, Graphic graphic) {
    return graphic.kind == GraphicKind::Sprite ? spriteGlyph(doc, graphic.number)
                                               : tileBitmap(doc, graphic.number);
}

QString exportGraphicFile(const StyleDocument &doc, Graphic graphic, const QString &path, Prompts &prompts) {
    ChosenFilePrompts chosen(prompts, path);
    return graphic.kind == GraphicKind::Sprite ? exportSprite(doc, graphic.number, chosen)
                                               : exportTile(doc, graphic.number, DefaultTilePattern, chosen);
}

bool importGraphicFile(StyleDocument &doc, Graphic graphic, const QString &path, Prompts &prompts, Log &log) {
    ChosenFilePrompts chosen(prompts, path);
    return graphic.kind == GraphicKind::Sprite
               ? importSprite(doc, graphic.number, chosen, log)
               : importTile(doc, graphic.number, DefaultTilePattern, chosen, log);
}

std::optional<QImage> eightBitPicture(const QImage &picture, QString &refusal) {
    if (picture.format() == QImage::Format_Indexed8)
        return picture;
    const QImage rgb = allocated(picture.convertToFormat(QImage::Format_RGB32));
    QImage indexed = makeImage(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    QHash<QRgb, uchar> indexOf;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *target = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            auto found = indexOf.constFind(source[x]);
            if (found == indexOf.constEnd()) {
                if (colours.size() == 256) {
                    refusal = QStringLiteral("The picture has more than 256 colours, more than a palette "
                                             "holds. Reduce it to 256 colours or fewer and try again.");
                    return std::nullopt;
                }
                found = indexOf.insert(source[x], uchar(colours.size()));
                colours.append(source[x]);
            }
            target[x] = *found;
        }
    }
    indexed.setColorTable(colours);
    return indexed;
}
