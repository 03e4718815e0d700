#pragma once

#include "cli/commandline.h"

class QTextStream;

// check FILE.sty: one "error: " or "warning: " line per fault of the file's tables; exit status 1
// when any is an error (or the file cannot be loaded), 0 otherwise.
int runCheck(const CommandArguments &args, QTextStream &out, QTextStream &err);
// diff A.sty B.sty [--png OUT.png]: one line per difference by meaning, and with --png the changed
// tiles and sprites before and after; exit status 0 when equal, 1 when they differ, 2 on error.
int runDiff(const CommandArguments &args, QTextStream &out, QTextStream &err);
