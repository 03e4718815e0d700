#pragma once

#include <QImage>

// QImage answers a failed allocation with a null image, and a write to a shared image whose copy
// cannot be made with a null scan line. The editor depends on every picture it makes, so these
// turn both into std::bad_alloc, which the commands report as a want of memory.

// `image` itself; throws when it is null although it was asked for a size.
QImage allocated(QImage image);
// A new image of that size and format.
QImage makeImage(int width, int height, QImage::Format format);
inline QImage makeImage(QSize size, QImage::Format format) {
    return makeImage(size.width(), size.height(), format);
}
// Row `y` of `image` for writing, after the copy a shared image needs.
uchar *writableLine(QImage &image, int y);
