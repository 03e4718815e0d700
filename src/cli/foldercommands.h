#pragma once

#include "cli/commandline.h"

class QTextStream;

// unpack FILE.sty DIR: the style file as a folder of JSON, PNG and text files.
int runUnpack(const CommandArguments &args, QTextStream &out, QTextStream &err);
// pack DIR OUT.sty [--keep-unknown] [--colours match|nearest|indexes]: the style file of such a
// folder, saved as OUT.
int runPack(const CommandArguments &args, QTextStream &out, QTextStream &err);
