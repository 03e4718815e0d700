#pragma once

#include "platform/bitmapfile.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The PNG bytes of an 8-bit picture: a palette PNG whose palette is the picture's colour table, so
// every index is kept. Throws EditorError naming `name` when Qt cannot encode it.
QByteArray indexedPngBytes(const QImage &indexed8, const QString &name);
// The PNG bytes of a true-colour picture.
QByteArray colourPngBytes(const QImage &picture, const QString &name);

// A palette PNG of 1, 2, 4 or 8 bits as an 8-bit picture with the file's indexes unchanged and a
// 256-entry colour table (the file's entries, then black); `fileColours` counts the file's
// entries. Throws EditorError naming `name` for another PNG kind or a file Qt cannot decode.
LoadedBitmap readIndexedPng(const QByteArray &bytes, const QString &name);
// Any PNG as a 32-bit picture. Throws EditorError naming `name` when it cannot be decoded.
QImage readColourPng(const QByteArray &bytes, const QString &name);

// A short digest of an 8-bit picture's pixels (its indexes, not their colours); empty for a null
// picture.
QString pixelCheck(const QImage &indexed8);
