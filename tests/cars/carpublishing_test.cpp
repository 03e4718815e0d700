#include "cars/carpublishing.h"

#include "cars/gifpicture.h"
#include "cars/zipwriter.h"
#include "graphics/deltasheet.h"
#include "graphics/spritepicture.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/filetime.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QDir>
#include <QFile>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unzip.h>

namespace {

struct ZipEntry {
    QString name;
    int method;
    qint64 size;
    qint64 packed;
    uLong dosDate;
    int extraBytes;
    int commentBytes;
    int flag;
    QByteArray bytes;
};

struct ZipListing {
    std::vector<ZipEntry> entries;
    uLong commentBytes = 0;
};

ZipListing readZip(const QString &path) {
    ZipListing listing;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip) {
        ADD_FAILURE() << "unzip cannot open " << path.toStdString();
        return listing;
    }
    unz_global_info64 global{};
    unzGetGlobalInfo64(zip, &global);
    listing.commentBytes = global.size_comment;
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        unz_file_info64 info{};
        char name[512] = {};
        EXPECT_EQ(unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0), UNZ_OK);
        ZipEntry entry{QString::fromUtf8(name),
                       int(info.compression_method),
                       qint64(info.uncompressed_size),
                       qint64(info.compressed_size),
                       info.dosDate,
                       int(info.size_file_extra),
                       int(info.size_file_comment),
                       int(info.flag),
                       QByteArray()};
        EXPECT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
        char block[4096];
        for (int n; (n = unzReadCurrentFile(zip, block, sizeof block)) > 0;)
            entry.bytes.append(block, n);
        EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK) << "CRC of " << name;
        listing.entries.push_back(entry);
    }
    unzClose(zip);
    return listing;
}

uLong dosStamp(const QString &path) {
    const DosDateTime stamp = lastWriteDosDateTime(path);
    return (uLong(stamp.date) << 16) | stamp.time;
}

struct Publishing : ::testing::Test {
    Publishing() { QDir().mkpath(work()); }

    StyleDocument doc = makeSampleStyle();
    TestDir dir;
    ScriptedPrompts prompts;
    // The folder that stands for the system's temporary folder.
    QString work() const { return dir.path(QStringLiteral("tmp")); }
};

TEST_F(Publishing, TheArchiveHoldsFourDeflatedEntriesInOrder) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    const CarPublication published = writeCarPublication(doc, 3, dir.path("mycar.gif"), work());
    const QDateTime after = QDateTime::currentDateTime().addSecs(2);
    EXPECT_EQ(published.archive, dir.path("mycar.zip"));
    EXPECT_EQ(published.gif, dir.path("mycar.gif"));
    const ZipListing zip = readZip(published.archive);
    ASSERT_EQ(zip.entries.size(), 4u);
    EXPECT_EQ(zip.commentBytes, 0u);
    const QStringList names = {"VYR2_CAR_3.bmp", "D_VYR2_CAR_3.bmp", "mycar.gif", "readme.txt"};
    const auto stamp = [](const QDateTime &when) {
        const DosDateTime dos = toDosDateTime(when);
        return (uLong(dos.date) << 16) | dos.time;
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const ZipEntry &entry = zip.entries[i];
        EXPECT_EQ(entry.name, names[qsizetype(i)]);
        EXPECT_EQ(entry.method, Z_DEFLATED);
        EXPECT_EQ(entry.flag & 6, 2) << "maximum compression";
        EXPECT_EQ(entry.extraBytes, 0);
        EXPECT_EQ(entry.commentBytes, 0);
        EXPECT_EQ(entry.size, entry.bytes.size());
        EXPECT_GE(entry.dosDate, stamp(before));
        EXPECT_LE(entry.dosDate, stamp(after));
    }
    EXPECT_EQ(zip.entries[2].bytes, readWholeFile(published.gif));
    EXPECT_EQ(zip.entries[2].dosDate, dosStamp(published.gif));
    EXPECT_EQ(zip.entries[3].size, 0) << "the readme is empty";
    EXPECT_TRUE(QDir(work()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << "the work folder is removed";

    // The bitmaps are the sprite and its "Draw deltas" sheet.
    const LoadedBitmap sprite = decodeBitmap(zip.entries[0].bytes, "sprite");
    EXPECT_EQ(sprite.image, spritePicture(doc, 3));
    const LoadedBitmap sheet = decodeBitmap(zip.entries[1].bytes, "sheet");
    EXPECT_EQ(sheet.image, renderDeltaSheet(doc, 3, DeltaView::Draw));
}

TEST_F(Publishing, TheGifIsOnePictureWithItsPaletteAndTheComment) {
    const CarPublication published = writeCarPublication(doc, 5, dir.path("car5"), work());
    EXPECT_EQ(published.gif, dir.path("car5.gif"));
    QFile file(published.gif);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(6), QByteArray("GIF89a"));

    int error = 0;
    GifFileType *gif = DGifOpenFileName(QFile::encodeName(published.gif).constData(), &error);
    ASSERT_NE(gif, nullptr) << GifErrorString(error);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK) << GifErrorString(gif->Error);
    const QImage picture = spritePicture(doc, 5);
    EXPECT_EQ(gif->ImageCount, 1);
    EXPECT_EQ(gif->SWidth, picture.width());
    EXPECT_EQ(gif->SHeight, picture.height());
    ASSERT_NE(gif->SColorMap, nullptr);
    ASSERT_EQ(gif->SColorMap->ColorCount, 256);
    for (int c = 0; c < 256; ++c) {
        const GifColorType colour = gif->SColorMap->Colors[c];
        ASSERT_EQ(qRgb(colour.Red, colour.Green, colour.Blue), picture.color(c)) << c;
    }
    const SavedImage &image = gif->SavedImages[0];
    ASSERT_EQ(image.ImageDesc.Width, picture.width());
    ASSERT_EQ(image.ImageDesc.Height, picture.height());
    for (int y = 0; y < picture.height(); ++y)
        ASSERT_EQ(std::memcmp(image.RasterBits + y * picture.width(), picture.constScanLine(y),
                              std::size_t(picture.width())),
                  0)
            << "row " << y;
    QStringList comments;
    const auto collect = [&](int count, const ExtensionBlock *blocks) {
        for (int b = 0; b < count; ++b)
            if (blocks[b].Function == COMMENT_EXT_FUNC_CODE)
                comments << QString::fromLatin1(reinterpret_cast<const char *>(blocks[b].Bytes),
                                                blocks[b].ByteCount);
    };
    collect(gif->ExtensionBlockCount, gif->ExtensionBlocks);
    collect(image.ExtensionBlockCount, image.ExtensionBlocks);
    EXPECT_EQ(comments, QStringList{PublishedGifComment});
    DGifCloseFile(gif, &error);

    // Another decoder reads the same picture.
    const QImage read(published.gif, "GIF");
    EXPECT_EQ(read.size(), picture.size());
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));

    EXPECT_THROW(encodeGif(QImage(4, 4, QImage::Format_RGB32), PublishedGifComment), EditorError);
}

TEST_F(Publishing, TheCommandAsksForTheNameAndOpensTheArchive) {
    QStringList opened;
    const auto open = [&](const QString &path) {
        opened << path;
        return true;
    };
    prompts.queueText(dir.path("mycar.gif"));
    ASSERT_TRUE(publishCar(doc, 1, prompts, work(), open));
    prompts.queueText(dir.path("mycar"));
    ASSERT_TRUE(publishCar(doc, 1, prompts, work(), open));
    EXPECT_EQ(opened, QStringList(2, dir.path("mycar.zip")));
    EXPECT_EQ(readZip(dir.path("mycar.zip")).entries.size(), 4u) << "replaced, not appended to";
    EXPECT_TRUE(prompts.messages().isEmpty());

    prompts.queueText(std::nullopt);
    EXPECT_FALSE(publishCar(doc, 1, prompts, work(), open));
    EXPECT_FALSE(publishCar(doc, doc.SpriteBases[SprCar], prompts, work(), open));
    EXPECT_EQ(prompts.messages(),
              QStringList{QStringLiteral("Sprite %1 is no car sprite; only cars are published.")
                              .arg(doc.SpriteBases[SprCar])});
    prompts.queueText(dir.path("other"));
    ASSERT_TRUE(publishCar(doc, 1, prompts, work(), [](const QString &) { return false; }));
    EXPECT_EQ(prompts.messages().last(),
              QStringLiteral("The archive \"%1\" was written, but no program could be started to open it.")
                  .arg(dir.path("other.zip")));
    EXPECT_EQ(opened.size(), 2);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Publishing, AnArchiveThatCannotBeWrittenIsReportedAndTheGifStays) {
    ASSERT_TRUE(QDir().mkdir(dir.path("blocked.zip")));
    try {
        writeCarPublication(doc, 0, dir.path("blocked"), work());
        FAIL() << "a folder in the archive's place was reported as success";
    } catch (const EditorError &error) {
        EXPECT_TRUE(error.text().startsWith(
            QStringLiteral("The archive \"%1\" was not written: ").arg(dir.path("blocked.zip"))))
            << error.text().toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.path("blocked.gif")).isFile());

    ZipWriter zip;
    try {
        zip.addFile(dir.path("missing.bmp"), "missing.bmp");
        FAIL() << "a missing source was skipped";
    } catch (const EditorError &error) {
        EXPECT_TRUE(error.text().startsWith(
            QStringLiteral("Cannot add \"%1\" to the archive: ").arg(dir.path("missing.bmp"))));
    }
    QFile big(dir.path("big.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    QByteArray data;
    for (int i = 0; i < 50000; ++i)
        data.append(char(i * 7 % 251));
    big.write(data);
    big.close();
    zip.addFile(dir.path("big.bin"), "big.bin");
    QFile out(dir.path("big.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(zip.finish());
    out.close();
    const ZipListing listing = readZip(dir.path("big.zip"));
    ASSERT_EQ(listing.entries.size(), 1u) << "the failed entry left nothing behind";
    EXPECT_EQ(listing.entries[0].bytes, data) << "blocks of 8192 bytes follow each other";
}

} // namespace
