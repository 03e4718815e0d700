#pragma once

#include <QJsonObject>

class QTextStream;

// --json: the command's report as one JSON document on standard output, indented, its keys in
// alphabetical order (QJsonObject keeps them so), so that scripts and diffs see a stable text.
void printJson(QTextStream &out, const QJsonObject &document);
