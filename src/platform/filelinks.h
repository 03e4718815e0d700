#pragma once

#include <QFileInfo>

// Whether `info` names a link to another place: a symbolic link, or on Windows also a junction,
// which QFileInfo does not count as one. Commands that must touch only a folder's own files
// refuse these rather than follow them.
bool isLink(const QFileInfo &info);
