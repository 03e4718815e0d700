#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A GIF89a file holding one image, the 8-bit `picture` with its colour table (padded with black
// to 256 entries), and one comment extension. Throws EditorError when the encoder fails.
QByteArray encodeGif(const QImage &picture, const QString &comment);
