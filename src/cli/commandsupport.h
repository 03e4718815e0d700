#pragma once

#include "cliprompts.h"

#include <QStringList>
#include <functional>

class LineLog;
class QTextStream;
struct StyleDocument;

void printLines(QTextStream &out, const QStringList &lines);

// Loads a style file the way the editor does; false when it was refused.
bool loadStyle(StyleDocument &doc, const QString &path, Prompts &prompts, LineLog &log);

// Saves through the editor's writer and prints the save log; false when the save failed.
bool saveStyle(StyleDocument &doc, const QString &target, Prompts &prompts, QTextStream &out);

// Runs one command with the command line's prompts; a message shown to the user, or an error,
// fails the command.
int guarded(QTextStream &err, CliPrompts &prompts, const std::function<bool()> &command);
int guarded(QTextStream &err, const std::function<bool(CliPrompts &)> &command);
