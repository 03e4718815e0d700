#pragma once

#include "cli/commandline.h"

class QTextStream;

// car-info FILE.sty CAR: every field of one car record, its doors, its script name and, from the
// "nyc.gci" beside the file, its physics values.
int runCarInfo(const CommandArguments &args, QTextStream &out, QTextStream &err);
// mirror-doors IN.sty OUT.sty: every door of every car to the other side, saved as OUT.
int runMirrorDoors(const CommandArguments &args, QTextStream &out, QTextStream &err);
