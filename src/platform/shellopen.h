#pragma once

#include <QString>

// Opens the file with the program the desktop associates with its type; false when none starts.
bool openWithAssociatedProgram(const QString &path);
