#pragma once

#include <QStringList>

class QTextStream;

// The commands of vyr2-sty. Each takes its arguments after the command name, writes its report to
// `out` and refusals and errors to `err`, and returns the exit status: 0 on success, 1 otherwise.

// Loads a style file and shows the load log and a summary of what the file holds.
int runInfo(const QStringList &args, QTextStream &out, QTextStream &err);
// Loads a style file and saves it under another name, showing the save log.
int runResave(const QStringList &args, QTextStream &out, QTextStream &err);
// Writes the sample style ("--large": the benchmark style) and its "nyc.gci" beside it.
int runSample(const QStringList &args, QTextStream &out, QTextStream &err);
// Palette table bitmaps and JASC text palettes, through the editor's own export and import code.
int runExportPalettes(const QStringList &args, QTextStream &out, QTextStream &err);
int runImportPalettes(const QStringList &args, QTextStream &out, QTextStream &err);
// add-palettes and remove-palettes: the palette table's ">>" and "<<", with the question answered
// Yes: running the command asks it.
int runPaletteBlock(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err);
int runExportPal(const QStringList &args, QTextStream &out, QTextStream &err);
int runImportPal(const QStringList &args, QTextStream &out, QTextStream &err);
// Tile graphics: every tile to its own bitmap and one tile from a bitmap.
int runExportTiles(const QStringList &args, QTextStream &out, QTextStream &err);
int runImportTile(const QStringList &args, QTextStream &out, QTextStream &err);
// export-raw-tiles / export-raw-sprites and the imports: a whole pixel store as one bitmap.
int runExportRaw(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err);
int runImportRaw(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err);

// Runs the command named by the first argument; "--help" lists the commands.
int runCommandLine(const QStringList &args, QTextStream &out, QTextStream &err);
