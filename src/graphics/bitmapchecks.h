#pragma once

#include "bitmapfile.h"

#include <QString>

// The checks every import of a graphic makes of the bitmap the user chose.

// `rule` (what the bitmap must be) followed by what the chosen bitmap is. Paint programs save a
// picture of 16 colours or fewer as a 4-bit file unless told otherwise, so that case says so.
inline QString formatMessage(const QString &rule, const LoadedBitmap &bitmap) {
    const QString sixteen =
        bitmap.pixelFormatCode == Pf4Bit
            ? QStringLiteral("\rThis is a 16-colour bitmap; save it with 256 colours (8 bits "
                             "per pixel) and import it again.")
            : QString();
    return rule +
           QStringLiteral("\ryour bitmap pixel format is: %1 bit size: %2*%3 pixels.")
               .arg(bitmap.pixelFormatCode)
               .arg(bitmap.image.width())
               .arg(bitmap.image.height()) +
           sixteen;
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
