#pragma once

#include "platform/bitmapfile.h"

#include <QString>

// The checks every import of a graphic makes of the bitmap the user chose.

// A 16-, 24- or 32-bit bitmap or an RGB or RGBA PNG: colours without indexes. Imports that keep
// the palette a graphic shows read it by its colours (matchColours).
inline bool isTrueColour(const LoadedBitmap &bitmap) {
    return bitmap.image.format() != QImage::Format_Indexed8 && !bitmap.image.isNull() &&
           (bitmap.pixelFormatCode == Pf15Bit || bitmap.pixelFormatCode == Pf16Bit ||
            bitmap.pixelFormatCode == Pf24Bit || bitmap.pixelFormatCode == Pf32Bit);
}

// What follows a refusal of a true-colour file: paint programs write one by default, and the
// pixel format number alone does not tell a modder what to do.
inline const QString TrueColourAdvice =
    QStringLiteral("This is a true-colour file, which has no palette to write; save it with 256 colours "
                   "(an 8-bit bitmap or a PNG with a palette) and import it again.");

// `rule` (what the bitmap must be) followed by what the chosen bitmap is. Paint programs save a
// picture of 16 colours or fewer as a 4-bit file unless told otherwise, and a true-colour file by
// default, so those cases say how to save it.
inline QString formatMessage(const QString &rule, const LoadedBitmap &bitmap) {
    QString advice;
    if (bitmap.pixelFormatCode == Pf4Bit)
        advice = QStringLiteral("\rThis is a 16-colour bitmap; save it with 256 colours (8 bits "
                                "per pixel) and import it again.");
    else if (isTrueColour(bitmap))
        advice = QLatin1Char('\r') + TrueColourAdvice;
    return rule +
           QStringLiteral("\ryour bitmap pixel format is: %1 bit size: %2*%3 pixels.")
               .arg(bitmap.pixelFormatCode)
               .arg(bitmap.image.width())
               .arg(bitmap.image.height()) +
           advice;
}

inline bool isEightBit(const LoadedBitmap &bitmap) {
    return bitmap.pixelFormatCode == Pf8Bit && bitmap.image.format() == QImage::Format_Indexed8;
}

// An 8-bit or true-colour bitmap 256 pixels wide holding 1 to `maxPages` whole pages of 256 rows.
inline bool isPixelStore(const LoadedBitmap &bitmap, int maxPages) {
    const int height = bitmap.image.height();
    return (isEightBit(bitmap) || isTrueColour(bitmap)) && bitmap.image.width() == 256 && height > 0 &&
           height % 256 == 0 && height / 256 <= maxPages;
}
