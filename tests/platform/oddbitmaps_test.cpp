#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "support/bitmapbytes.h"
#include "support/oddbitmaps.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

QList<QRgb> pixelsOf(const QImage &image) {
    QList<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.append(image.pixel(x, y));
    return pixels;
}

QList<QRgb> paddedTable(QList<QRgb> colours) {
    colours.resize(256, qRgb(0, 0, 0));
    return colours;
}

void expectReadRight(const OddBitmap &file, const LoadedBitmap &loaded, int width, int height) {
    EXPECT_EQ(loaded.pixelFormatCode, file.pixelFormatCode);
    EXPECT_EQ(loaded.image.size(), QSize(width, height));
    if (file.paletted()) {
        ASSERT_EQ(loaded.image.format(), QImage::Format_Indexed8);
        EXPECT_EQ(pixelIndexes(loaded.image), file.indexes);
        EXPECT_EQ(loaded.image.colorTable(), paddedTable(file.fileColours));
        EXPECT_EQ(loaded.fileColours, file.fileColours.size());
    } else {
        EXPECT_EQ(pixelsOf(loaded.image), file.pixels);
        EXPECT_EQ(loaded.fileColours, 0);
    }
}

} // namespace

// An odd width pads every row, an odd height leaves a middle row in place when rows are flipped.
constexpr int Width = 7;
constexpr int Height = 3;

TEST(OddBitmaps, EachFileIsReadRightOrRefusedNamingTheFileAndTheReason) {
    TestDir dir;
    const std::vector<OddBitmap> files = oddBitmaps(Width, Height);
    writeOddBitmaps(files, dir.path(QString()));
    int read = 0;
    for (const OddBitmap &file : files) {
        SCOPED_TRACE(file.name.toStdString());
        const QString path = dir.path(file.name);
        if (!file.refusal.isEmpty()) {
            try {
                loadBitmap(path);
                ADD_FAILURE() << "accepted";
            } catch (const EditorError &error) {
                EXPECT_EQ(error.text(),
                          QStringLiteral("Cannot read bitmap file \"%1\": %2").arg(path, file.refusal));
            }
            continue;
        }
        expectReadRight(file, loadBitmap(path), Width, Height);
        ++read;
    }
    // Every kind of the set is there, read ones and refused ones alike.
    EXPECT_EQ(read, 32);
    EXPECT_EQ(files.size(), 55u);
}

TEST(OddBitmaps, EveryCutOfAReadableFileIsRefused) {
    for (const OddBitmap &file : oddBitmaps(Width, Height)) {
        if (!file.refusal.isEmpty())
            continue;
        SCOPED_TRACE(file.name.toStdString());
        for (qsizetype length = 0; length < file.bytes.size(); ++length) {
            try {
                decodeBitmap(file.bytes.left(length), file.name);
                ADD_FAILURE() << "accepted the first " << length << " bytes";
            } catch (const EditorError &error) {
                EXPECT_TRUE(error.text().startsWith(
                    QStringLiteral("Cannot read bitmap file \"%1\": ").arg(file.name)));
            }
        }
    }
}

TEST(OddBitmaps, LargerPicturesAreReadRightToo) {
    // Rows longer than one run-length code can hold, and four-bit runs of an odd length.
    constexpr int width = 301;
    constexpr int height = 5;
    for (const OddBitmap &file : oddBitmaps(width, height)) {
        if (!file.refusal.isEmpty())
            continue;
        SCOPED_TRACE(file.name.toStdString());
        expectReadRight(file, decodeBitmap(file.bytes, file.name), width, height);
    }
}
