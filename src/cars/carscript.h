#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

class Log;
class Prompts;

inline const QString CarScriptFilter = QStringLiteral("VYR2 car info file *.gci|*.gci");
inline const QString CompanionScriptName = QStringLiteral("nyc.gci");

// The car script text is kept as lines; the file stores them in the 8-bit character set, each
// ended by CR LF. A last line break does not start another line.
QStringList carScriptLines(const QByteArray &bytes);
QByteArray carScriptBytes(const QStringList &lines);

// The value of a value line: the text before the character that precedes its last "{", less a
// leading "f". "f1.500 {mass}" gives "1.500"; a line without "{" gives "".
QString scriptValue(const QString &line);
// The name of a name line: the text after its last "{" less the closing character. "{ALFA}" gives "ALFA".
QString scriptName(const QString &line);

// Index of the model line of `model` ("12 {model}", letters in any case, nothing trimmed), or -1
// when there is none or the script has fewer than 2 lines.
int findModelLine(const QStringList &script, int model);

// The header the script gets on every save, and the save's rewrite of it: the old header (every
// line above the first empty line) goes and the new one takes its place. A text without an empty
// line has no header to tell from its body, so all of it is kept.
QStringList carScriptHeader(const QString &user, const QString &computer, const QString &program,
                            const QDateTime &when);
void rewriteCarScriptHeader(QStringList &script, const QStringList &header);

// The script beside an opened style file ("nyc.gci" in any letter case); the text and the default name stay
// as they were when the folder holds none that can be read. One that is no regular file (a FIFO, a
// device, a folder) is skipped with a line in `log`. True when it was loaded.
bool loadCompanionScript(QStringList &script, QString &defaultName, const QString &stylePath, Log &log);

// "open GCI": replaces the whole text by a chosen file; a file that cannot be read is reported and
// leaves the text alone. True when the text was replaced.
bool openGci(QStringList &script, QString &defaultName, Prompts &prompts);

// "save GCI": a text of fewer than 10 lines is not saved. Otherwise the text goes with a new header
// to the chosen name with the extension ".gci", a read-only target made writable first, and then
// takes that header itself. Returns the written path, empty when nothing was saved; throws
// EditorError when the write fails, leaving the text as it was.
QString saveGci(QStringList &script, QString &defaultName, Prompts &prompts);
