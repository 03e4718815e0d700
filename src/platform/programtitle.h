#pragma once

#include <QString>

// The title line of the about box; written scripts name the program with it too.
inline const QString ProgramTitle = QStringLiteral("VYR2 sty tool (Build: 170211)");
