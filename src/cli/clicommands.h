#pragma once

#include "cli/commandline.h"

// The commands of vyr2-sty. Each takes its parsed arguments, writes its report to `out` and
// refusals and errors to `err`, and returns the exit status: 0 on success, 1 on a refusal or
// failure, 2 on a wrong argument.

// Loads a style file and shows the load log and a summary of what the file holds.
int runInfo(const CommandArguments &args, QTextStream &out, QTextStream &err);
// Loads a style file and saves it under another name, showing the save log.
int runResave(const CommandArguments &args, QTextStream &out, QTextStream &err);
// Writes the sample style ("--large": the benchmark style) and its "nyc.gci" beside it.
int runSample(const CommandArguments &args, QTextStream &out, QTextStream &err);
// Palette table bitmaps and JASC text palettes, through the editor's own export and import code.
int runExportPalettes(const CommandArguments &args, QTextStream &out, QTextStream &err);
int runImportPalettes(const CommandArguments &args, QTextStream &out, QTextStream &err);
// add-palettes and remove-palettes: the palette table's ">>" and "<<", with the question answered
// Yes: running the command asks it.
int runPaletteBlock(const CommandArguments &args, QTextStream &out, QTextStream &err);
int runExportPal(const CommandArguments &args, QTextStream &out, QTextStream &err);
int runImportPal(const CommandArguments &args, QTextStream &out, QTextStream &err);
// Tile graphics: every tile to its own bitmap and one tile from a bitmap.
int runExportTiles(const CommandArguments &args, QTextStream &out, QTextStream &err);
int runImportTile(const CommandArguments &args, QTextStream &out, QTextStream &err);
// import-tiles: every tile whose file the folder holds, named by the pattern, in one load and one
// save; the first refusal stops the run with nothing saved.
int runImportTiles(const CommandArguments &args, QTextStream &out, QTextStream &err);
// export-raw-tiles / export-raw-sprites and the imports: a whole pixel store as one bitmap.
int runExportRaw(const CommandArguments &args, QTextStream &out, QTextStream &err);
int runImportRaw(const CommandArguments &args, QTextStream &out, QTextStream &err);
