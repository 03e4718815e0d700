#pragma once

#include "platform/indexedpicture.h"
#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <optional>

class Log;
class Prompts;

// A sprite or a tile: what the Sprites and Textures pages export, import, copy and paste.
enum class GraphicKind { Sprite, Tile };
struct Graphic {
    GraphicKind kind;
    int number;

    bool operator==(const Graphic &) const = default;
    // "sprite 5", "tile 12".
    QString name() const;
};

// The graphic's 8-bit picture with the colours of its palette, as "export" writes it.
QImage graphicPicture(const StyleDocument &doc, Graphic graphic);

// "export" and "import" of the graphic with the file or picture already in hand: every check and
// question of the buttons but the file dialog. The export returns the name written (empty when
// refused); the import whether the document changed.
QString exportGraphicFile(const StyleDocument &doc, Graphic graphic, const QString &path, Prompts &prompts);
bool importGraphic(StyleDocument &doc, Graphic graphic, const PictureSource &picture, Prompts &prompts,
                   Log &log);

// A picture that did not come from a file, such as one on the clipboard, as an 8-bit picture an
// import takes, named `name` in the import's messages. An 8-bit one comes as it is; a true-colour
// one of at most 256 colours with those colours as its colour table, in the order they first
// appear, so the import's colour matching finds each of them in the target palette, and writing
// its colours into a palette writes only those. More colours than a palette holds cannot be
// imported faithfully, so that picture is refused with the reason in `refusal`.
std::optional<PictureSource> pictureToImport(const QImage &picture, const QString &name, QString &refusal);
