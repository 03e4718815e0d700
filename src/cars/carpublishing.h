#pragma once

#include "style/styledocument.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Prompts;

inline const QString PublishCarCaption = QStringLiteral("create zip and gif file of this car for publishing");
inline const QString PublishCarFilter = QStringLiteral("name of zip and gif file|*.zip;*.gif");
inline const QString PublishedGifComment =
    QStringLiteral("Created with RXLIB gif animator by vyr2 sty tool.");
inline const QString PublishedReadmeName = QStringLiteral("readme.txt");

struct CarPublication {
    QString archive; // the chosen name with ".zip"
    QString gif;     // the chosen name with ".gif"
};

// Writes everything one car is published with, for the chosen name `name`: the sprite's bitmap,
// its "Draw deltas" sheet and an empty "readme.txt" are gathered in a private work folder made
// for this export inside `scratch` (the system's temporary folder) and removed afterwards; beside
// the archive its GIF; then the archive of those four files. A fixed work folder in a folder every
// user may write could be made first by another user, with links inside leading the export to
// overwrite that user's choice of files. The GIF is written before the archive, so it stays when
// the archive fails. Throws EditorError with the reason when a file cannot be written.
CarPublication writeCarPublication(const StyleDocument &doc, int sprite, const QString &name,
                                   const QString &scratch);

// "create zip and gif file of this car for publishing": asks for the name, writes the files and
// hands the archive to `open` (the desktop's associated program in the editor; none in batch
// runs and tests). Only car sprites are published. Nothing when cancelled or refused.
std::optional<CarPublication> publishCar(const StyleDocument &doc, int sprite, Prompts &prompts,
                                         const QString &scratch,
                                         const std::function<bool(const QString &)> &open);
