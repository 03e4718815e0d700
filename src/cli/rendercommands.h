#pragma once

#include "cli/commandline.h"

class QTextStream;

// render-tiles FILE.sty OUT.png: the "Textures" grid of the style file, labels included, as one
// PNG picture. Returns 0 on success, 1 otherwise, with the reason on `err`.
int runRenderTiles(const CommandArguments &args, QTextStream &out, QTextStream &err);
