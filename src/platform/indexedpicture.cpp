#include "platform/indexedpicture.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/pngfile.h"

PictureFormat pictureFormatOf(const QString &path) {
    const qsizetype nameStart = fileNameStart(path);
    return path.size() - nameStart > 4 && path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
               ? PictureFormat::Png
               : PictureFormat::Bmp;
}

QString pictureExtension(PictureFormat format) {
    return format == PictureFormat::Png ? QStringLiteral(".png") : QStringLiteral(".bmp");
}

QString picturePath(const QString &path) {
    return pictureFormatOf(path) == PictureFormat::Png ? path : withExtension(path, QStringLiteral(".bmp"));
}

LoadedBitmap loadPicture(const QString &path) {
    return decodePicture(readWholeFile(path), path);
}

LoadedBitmap decodePicture(const QByteArray &bytes, const QString &path) {
    if (isPng(bytes))
        return decodePng(bytes, path);
    LoadedBitmap bitmap = decodeBitmap(bytes, path);
    // A bitmap's alpha bytes are unreliable (often left 0), so only a PNG's alpha can make a pixel
    // transparent.
    if (bitmap.image.format() != QImage::Format_Indexed8 && bitmap.image.hasAlphaChannel())
        bitmap.image = bitmap.image.convertToFormat(QImage::Format_RGB32);
    return bitmap;
}

void savePicture8(const QString &path, const QImage &indexed8, Durability durability) {
    if (pictureFormatOf(path) == PictureFormat::Bmp) {
        saveBitmap8(path, indexed8, durability);
        return;
    }
    const QByteArray bytes = palettePngBytes(indexed8);
    if (bytes.isEmpty())
        throw EditorError(
            QStringLiteral("Cannot write PNG file \"%1\": the picture is not 8 bit.").arg(path));
    writeWholeFileAtomic(path, bytes, durability);
}
