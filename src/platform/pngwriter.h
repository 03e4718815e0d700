#pragma once

#include <QByteArray>
#include <QImage>

// The bytes of a palette PNG holding an 8-bit picture: 8 bits per pixel, the picture's colour
// table as the PNG palette, every index kept. Empty for a picture that is not 8-bit.
QByteArray palettePngBytes(const QImage &indexed8);
