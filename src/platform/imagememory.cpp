#include "platform/imagememory.h"

#include "platform/largepages.h"

#include <new>

QImage allocated(QImage image) {
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

QImage makeImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image = allocated(QImage(width, height, format));
    preferLargePages(image.bits(), std::size_t(image.sizeInBytes()));
    return image;
}

uchar *writableLine(QImage &image, int y) {
    uchar *line = image.scanLine(y);
    if (!line)
        throw std::bad_alloc();
    return line;
}
