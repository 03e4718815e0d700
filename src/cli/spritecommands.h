#pragma once

#include "cli/commandline.h"

class QTextStream;

// export-sprites FILE.sty DIR [--start S] [--end E] [--png]: sprites S to E (all by default) as
// 8-bit bitmaps (palette PNGs with --png) with their palettes, each named by its sprite file name,
// into the folder DIR.
int runExportSprites(const CommandArguments &args, QTextStream &out, QTextStream &err);
// import-sprite FILE.sty SPRITE IN.bmp OUT.sty --choice C [--palette N]: the bitmap into the
// sprite with the import dialog's choice (N answers the palette picker) and the result saved as OUT.
int runImportSprite(const CommandArguments &args, QTextStream &out, QTextStream &err);
// import-sprites FILE.sty DIR OUT.sty [--start S] [--end E] --choice C [--palette N]: every sprite
// of the range whose file (by its export name) DIR holds, as import-sprite takes one; the first
// refusal stops the run with nothing saved.
int runImportSprites(const CommandArguments &args, QTextStream &out, QTextStream &err);
// sprite-info FILE.sty SPRITE: the lines of the info panel.
int runSpriteInfo(const CommandArguments &args, QTextStream &out, QTextStream &err);
// render-sprites FILE.sty OUT.png [--borders]: the page strip as one PNG picture.
int runRenderSprites(const CommandArguments &args, QTextStream &out, QTextStream &err);
