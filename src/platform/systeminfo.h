#pragma once

#include <QString>

// The system's folder for temporary files, without a trailing separator.
QString tempFolder();
// The name of the user this process runs as; empty when the system knows none.
QString userName();
QString computerName();
// Creates one folder; false when it already exists or cannot be made.
bool createFolder(const QString &path);
