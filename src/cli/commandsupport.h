#pragma once

#include "cli/cliprompts.h"
#include "cli/commandline.h"

#include <QStringList>
#include <functional>
#include <optional>

class LineLog;
class QImage;
class QTextStream;
struct StyleDocument;

void printLines(QTextStream &out, const QStringList &lines);

// A script reads standard error for what went unasked: an import that turned pixels of `graphic`
// transparent, or opaque, prints a "warning: " line with the counts.
void warnTransparency(QTextStream &err, const QString &graphic, const QImage &before, const QImage &after);

// What the command line does with the reader's warnings (a chunk cut short, bytes ignored, a chunk
// that repeats, no palettes): report them, or with --strict also refuse the file.
enum class ReaderWarnings { Reported, Refused };
void setReaderWarnings(ReaderWarnings handling);

// Where loadStyle reports the reader's warnings: on standard error, or left to the caller, which
// finds them in the log.
enum class WarningsShown { OnStandardError, ByCaller };

// Loads a style file the way the editor does and reports the reader's warnings, on standard error
// as "warning: FILE: ..." lines; false when the file was refused.
bool loadStyle(StyleDocument &doc, const QString &path, CliPrompts &prompts, LineLog &log,
               WarningsShown shown = WarningsShown::OnStandardError);

// The commands the editor disables for a file without palettes refuse one with the editor's reason;
// true when `doc` has palettes.
bool requirePalettes(const StyleDocument &doc, Prompts &prompts);

// What a saving command prints of the save: one line saying what it wrote, or with --verbose the
// writer's chunk-by-chunk log.
enum class SaveReport { OneLine, ChunkLog };
void setSaveReport(SaveReport report);
// Prints the save of `path` as `setSaveReport` says; `log` is the writer's.
void reportSave(QTextStream &out, const QString &path, const LineLog &log);
// The one line: "wrote PATH (N KiB)", the size rounded up.
QString wroteLine(const QString &path);

// Saves through the editor's writer and reports the save; false when the save failed.
bool saveStyle(StyleDocument &doc, const QString &target, Prompts &prompts, QTextStream &out);

// Runs one command with the command line's prompts; a message shown to the user, or an error,
// fails the command.
int guarded(QTextStream &err, CliPrompts &prompts, const std::function<bool()> &command);
int guarded(QTextStream &err, const std::function<bool(CliPrompts &)> &command);

// A wrong argument: the problem on `err`, exit status 2.
int misused(QTextStream &err, const QString &problem);
// A whole decimal number from the command line; nothing for any other text.
std::optional<int> numberArgument(const QString &text);
inline const QString ColoursUsage = QStringLiteral("--colours takes match, nearest or indexes");
// "--colours match|nearest|indexes" (match when absent); nothing for another value.
std::optional<ColoursOption> coloursOption(const CommandArguments &args);
// The options of a tile import: "--colours" and "--palette keep|map:N|import:N", the latter as the
// answer to the tile question and, for map and import, the number the palette picker gets.
struct TileImportOptions {
    ColoursOption colours;
    Answer answer;
    std::optional<QString> palette;
};
// Match and keep when absent; nothing, with the problem on `err`, for another value.
std::optional<TileImportOptions> tileImportOptions(const CommandArguments &args, QTextStream &err);

// Makes the output folder `path` with any missing parents; false, with the message shown, when it
// cannot be made.
bool makeFolder(const QString &path, Prompts &prompts);
// Writes the picture as a PNG file; throws EditorError when it cannot.
void writePng(const QImage &picture, const QString &path);

// The name "-" for an output: standard output.
bool isStandardOutput(const QString &path);
// Writes `bytes` to `path`, or to standard output (through `out`) for "-".
void writeOutput(QTextStream &out, const QString &path, const QByteArray &bytes);
// render-tiles and render-sprites: the picture scaled by `scale` (pixels repeated), in the format
// of the name's extension, ".bmp" a 24-bit bitmap and ".png" (or "-", standard output) a PNG;
// throws EditorError for another extension or a picture too large to scale.
void writeRendering(QTextStream &out, const QImage &picture, int scale, const QString &path);
// --scale N: 1 when absent, nothing for anything but 1 to MaxScale.
inline constexpr int MaxScale = 16;
inline const QString ScaleUsage = QStringLiteral("--scale takes a whole number from 1 to 16");
std::optional<int> scaleOption(const CommandArguments &args);
