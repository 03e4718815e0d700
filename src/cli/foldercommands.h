#pragma once

#include <QStringList>

class QTextStream;

// unpack FILE.sty DIR: the style file as a folder of JSON, PNG and text files.
int runUnpack(const QStringList &args, QTextStream &out, QTextStream &err);
// pack DIR OUT.sty [--keep-unknown] [--colours match|nearest|indexes]: the style file of such a
// folder, saved as OUT.
int runPack(const QStringList &args, QTextStream &out, QTextStream &err);
