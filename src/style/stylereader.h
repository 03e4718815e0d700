#pragma once

#include "styledocument.h"

#include <QByteArray>
#include <QString>

class Prompts;
class Progress;
class Log;

inline const QString NotAStyleFileMessage =
    QStringLiteral("punk don't fuck with me! this ain't vyr2 style file!");

// Parses a whole style file into `doc`. The file is parsed into a copy that replaces `doc` only
// when the file is accepted; parts whose chunk is absent keep what `doc` held. Returns false when
// the file was refused; the user has then been told why through `prompts`.
bool readStyle(StyleDocument &doc, const QByteArray &bytes, Prompts &prompts, Progress &progress, Log &log);

// Reads the named file and parses it as above. Throws EditorError when the file cannot be read.
bool opensty(StyleDocument &doc, const QString &path, Prompts &prompts, Progress &progress, Log &log);
