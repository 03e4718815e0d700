#pragma once

#include <QByteArray>
#include <QImage>

// An 8-bit picture saved as Pillow saves an indexed PNG after quantizing: a palette of only the
// colours the pixels use, numbered by falling pixel count, and the fewest bits per pixel (1, 2, 4
// or 8) that number them. Written byte by byte here, independent of Qt's PNG writer.
QByteArray pillowPng(const QImage &picture);
