#include "graphics/graphicfile.h"

#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
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
    return graphic.kind == GraphicKind::Sprite ? exportSpriteTo(doc, graphic.number, path, prompts)
                                               : exportTileTo(doc, graphic.number, path, prompts);
}

bool importGraphic(StyleDocument &doc, Graphic graphic, const PictureSource &picture, Prompts &prompts,
                   Log &log) {
    return graphic.kind == GraphicKind::Sprite ? importSprite(doc, graphic.number, picture, prompts, log)
                                               : importTile(doc, graphic.number, picture, prompts, log);
}

std::optional<PictureSource> pictureToImport(const QImage &picture, const QString &name, QString &refusal) {
    QImage indexed;
    QList<QRgb> colours;
    if (picture.format() == QImage::Format_Indexed8) {
        indexed = picture;
        colours = picture.colorTable();
    } else {
        const QImage rgb = allocated(picture.convertToFormat(QImage::Format_RGB32));
        indexed = makeImage(rgb.size(), QImage::Format_Indexed8);
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
    }
    const int fileColours = static_cast<int>(colours.size());
    // Padded with black as a decoded file's table is, so every index has a colour.
    colours.resize(256, qRgb(0, 0, 0));
    indexed.setColorTable(colours);
    return PictureSource::picture({indexed, Pf8Bit, fileColours}, name);
}
