#pragma once

#include "platform/indexedpicture.h"

#include "platform/prompts.h"
#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <functional>

class Log;

inline const QString AddSpritePageQuestion = QStringLiteral("this will add another 256*256 page, continue?");
inline const QString RemoveSpritePageQuestion =
    QStringLiteral("this will delete last 256*256 sprite page, be sure you don't have any cars os sprites "
                   "on that page. do you wish to continue?");
inline const QString SpriteFolderTitle = QStringLiteral("Please specify a directory for files");

// "export": the save dialog preset with the sprite's file name; writes its picture as a ".png"
// file when the chosen name ends so, as a ".bmp" file otherwise.
// A sprite of no pixels or off its page is refused with the reason. Returns the name written,
// empty when cancelled or refused.
QString exportSprite(const StyleDocument &doc, int sprite, Prompts &prompts);
// The export with the file already chosen: the same refusals, no dialog.
QString exportSpriteTo(const StyleDocument &doc, int sprite, const QString &path, Prompts &prompts);
// "import": a picture of the sprite's own size and 8 bits into the sprite, asking what happens to
// its palette. Pixels copied without the picture's colours are brought to the sprite's palette
// (matchColours), which `log` tells. Returns whether the user went through with it (the sprite
// then needs repainting).
bool importSprite(StyleDocument &doc, int sprite, const PictureSource &picture, Prompts &prompts, Log &log);
// The button: refuses a sprite nothing can be imported into, then asks for the file (preset with
// the sprite's file name) and imports it.
bool importSprite(StyleDocument &doc, int sprite, Prompts &prompts, Log &log);

// "add page" / "remove page": 256 rows more or fewer at the end of the store, after asking.
// Returns whether the store changed.
bool addSpritePage(StyleDocument &doc, Prompts &prompts);
bool removeSpritePage(StyleDocument &doc, Prompts &prompts);

// "export raw" / "import raw": the whole store as one 8-bit bitmap over the grey ramp (rawstore.h).
// The export returns the name written, the import whether the store changed; the button's import
// asks for the file first.
QString exportRawSprites(const StyleDocument &doc, Prompts &prompts);
bool importRawSprites(StyleDocument &doc, const PictureSource &picture, Prompts &prompts, Log &log);
bool importRawSprites(StyleDocument &doc, Prompts &prompts, Log &log);

// The "Range of sprites" group. End below Start is raised to Start. `select` is told each sprite
// before it is handled (the window selects it); the import tells `imported` each sprite it
// changed. The export skips sprites of no pixels or off their page, each with a line in `log`.
// The export writes `format` files and returns their number, the import the number of imports.
int exportSpriteRange(const StyleDocument &doc, int start, int end, Prompts &prompts, Log &log,
                      const std::function<void(int)> &select = {}, PictureFormat format = PictureFormat::Bmp);
// The import takes each sprite's picture from `pictureOf`, which gives none for a sprite to skip;
// without it, each sprite's file is asked for as its "import" button asks.
int importSpriteRange(StyleDocument &doc, int start, int end,
                      const std::function<std::optional<PictureSource>(int)> &pictureOf, Prompts &prompts,
                      Log &log, const std::function<void(int)> &select = {},
                      const std::function<void(int)> &imported = {});
int importSpriteRange(StyleDocument &doc, int start, int end, Prompts &prompts, Log &log,
                      const std::function<void(int)> &select = {},
                      const std::function<void(int)> &imported = {});
