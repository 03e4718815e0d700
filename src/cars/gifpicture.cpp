#include "cars/gifpicture.h"

#include "platform/editorerror.h"

#include <gif_lib.h>
#include <memory>
#include <vector>

namespace {

int appendToBuffer(GifFileType *gif, const GifByteType *bytes, int length) {
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(bytes), length);
    return length;
}

[[noreturn]] void fail(int error) {
    throw EditorError(QStringLiteral("The GIF picture could not be encoded: %1")
                          .arg(QString::fromLatin1(GifErrorString(error))));
}

struct MapDeleter {
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};

} // namespace

QByteArray encodeGif(const QImage &picture, const QString &comment) {
    if (picture.format() != QImage::Format_Indexed8 || picture.isNull())
        throw EditorError(QStringLiteral("The GIF picture could not be encoded: the picture is not 8 bit."));
    std::vector<GifColorType> colours(256, GifColorType{0, 0, 0});
    const QList<QRgb> table = picture.colorTable();
    for (int c = 0; c < std::min<int>(256, int(table.size())); ++c)
        colours[std::size_t(c)] = {GifByteType(qRed(table[c])), GifByteType(qGreen(table[c])),
                                   GifByteType(qBlue(table[c]))};
    const std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(256, colours.data()));
    if (!map)
        fail(E_GIF_ERR_NOT_ENOUGH_MEM);

    QByteArray bytes;
    int error = 0;
    GifFileType *gif = EGifOpen(&bytes, appendToBuffer, &error);
    if (!gif)
        fail(error);
    EGifSetGifVersion(gif, true);
    const QByteArray text = comment.toLatin1();
    bool written = EGifPutScreenDesc(gif, picture.width(), picture.height(), 8, 0, map.get()) == GIF_OK &&
                   EGifPutComment(gif, text.constData()) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, picture.width(), picture.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(std::size_t(picture.width()));
    for (int y = 0; written && y < picture.height(); ++y) {
        std::copy_n(picture.constScanLine(y), row.size(), row.begin());
        written = EGifPutLine(gif, row.data(), picture.width()) == GIF_OK;
    }
    if (!written)
        error = gif->Error;
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK && written)
        fail(closeError);
    if (!written)
        fail(error);
    return bytes;
}
