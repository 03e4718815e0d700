#include "folder/folderpng.h"

#include "platform/editorerror.h"
#include "platform/imagememory.h"
#include "platform/pngfile.h"
#include "platform/sha1digest.h"

#include <QBuffer>
#include <QImageReader>

QByteArray indexedPngBytes(const QImage &indexed8, const QString &name) {
    QByteArray png = palettePngBytes(indexed8);
    if (png.isEmpty())
        throw EditorError(QStringLiteral("%1: only an 8-bit picture is saved as a palette PNG.").arg(name));
    return png;
}

QByteArray colourPngBytes(const QImage &picture, const QString &name) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!allocated(picture.convertToFormat(QImage::Format_RGB32)).save(&buffer, "PNG"))
        throw EditorError(QStringLiteral("%1: the picture could not be encoded as PNG.").arg(name));
    return png;
}

LoadedBitmap readIndexedPng(const QByteArray &bytes, const QString &name) {
    if (!isPng(bytes))
        throw EditorError(QStringLiteral("%1: not a PNG file; nothing was written.").arg(name));
    LoadedBitmap loaded;
    try {
        loaded = decodePng(bytes, name);
    } catch (const EditorError &e) {
        throw EditorError(e.text() + QStringLiteral(" Nothing was written."));
    }
    if (loaded.pixelFormatCode != Pf8Bit) {
        const QString kind = loaded.pixelFormatCode == Pf24Bit   ? QStringLiteral("a true-colour")
                             : loaded.pixelFormatCode == Pf32Bit ? QStringLiteral("a true-colour with alpha")
                                                                 : QStringLiteral("a grey or 16-bit");
        throw EditorError(
            QStringLiteral("%1: %2 PNG; it must be saved as an indexed (palette) PNG of 256 colours "
                           "or fewer; nothing was written.")
                .arg(name, kind));
    }
    return loaded;
}

QImage readColourPng(const QByteArray &bytes, const QString &name) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    if (image.isNull())
        throw EditorError(QStringLiteral("%1: not a readable PNG file (%2); nothing was written.")
                              .arg(name, reader.errorString()));
    return allocated(image.convertToFormat(QImage::Format_RGB32));
}

QString pixelCheck(const QImage &indexed8) {
    if (indexed8.isNull())
        return QString();
    Sha1Digest hash;
    for (int y = 0; y < indexed8.height(); ++y)
        hash.addData(
            QByteArrayView(reinterpret_cast<const char *>(indexed8.constScanLine(y)), indexed8.width()));
    return QString::fromLatin1(hash.result().left(8).toHex());
}
