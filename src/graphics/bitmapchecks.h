#pragma once

#include "bitmapfile.h"

#include <QString>

// The checks every import of a graphic makes of the bitmap the user chose.

inline const QString BmpExtension = QStringLiteral(".bmp");

// `rule` (what the bitmap must be) followed by what the chosen bitmap is.
inline QString formatMessage(const QString &rule, const LoadedBitmap &bitmap) {
    return rule + QStringLiteral("\ryour bitmap pixel format is: %1 bit size: %2*%3 pixels.")
                      .arg(bitmap.pixelFormatCode)
                      .arg(bitmap.image.width())
                      .arg(bitmap.image.height());
}

inline bool isEightBit(const LoadedBitmap &bitmap) {
    return bitmap.pixelFormatCode == Pf8Bit && bitmap.image.format() == QImage::Format_Indexed8;
}

// An 8-bit bitmap 256 pixels wide holding 1 to `maxPages` whole pages of 256 rows.
inline bool isPixelStore(const LoadedBitmap &bitmap, int maxPages) {
    const int height = bitmap.image.height();
    return isEightBit(bitmap) && bitmap.image.width() == 256 && height > 0 && height % 256 == 0 &&
           height / 256 <= maxPages;
}
