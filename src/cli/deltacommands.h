#pragma once

#include "cli/commandline.h"

class QTextStream;

// deltas FILE.sty SPRITE OUT.bmp [--view draw|cars|changes]: the delta sheet of a sprite as an
// 8-bit bitmap, drawn as the chosen view shows it ("Draw deltas" by default).
int runDeltas(const CommandArguments &args, QTextStream &out, QTextStream &err);
// import-deltas FILE.sty SPRITE SHEET.bmp OUT.sty: the sheet's twenty cells become the car
// sprite's deltas; the result is saved as OUT.
int runImportDeltas(const CommandArguments &args, QTextStream &out, QTextStream &err);
// publish-car FILE.sty SPRITE NAME: NAME.zip and NAME.gif of a car sprite; opens nothing.
int runPublishCar(const CommandArguments &args, QTextStream &out, QTextStream &err);
