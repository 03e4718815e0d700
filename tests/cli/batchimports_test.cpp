// import-tiles and import-sprites: a folder of pictures into a style file in one load and one save,
// the first refused file stopping the run with nothing written.
#include "clitest.h"

#include "platform/bitmapfile.h"
#include "platform/fileio.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

struct BatchImports : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString(); }

    // The picture mirrored left to right: the same colours, so it imports index for index.
    static void mirrorFile(const QString &path) {
        const LoadedBitmap bitmap = loadBitmap(path);
        ASSERT_EQ(bitmap.image.format(), QImage::Format_Indexed8) << path.toStdString();
        saveBitmap8(path, bitmap.image.mirrored(true, false));
    }
    static QImage pixels(const QString &path) { return loadBitmap(path).image; }
    // The file name export-sprites gives the sprite.
    QString spriteName(int sprite) {
        const QString folder = dir.path(QStringLiteral("one%1").arg(sprite));
        const QString number = QString::number(sprite);
        EXPECT_EQ(run({"export-sprites", dir.path("s.sty"), folder, "--start", number, "--end", number}), 0);
        return QDir(folder).entryList(QDir::Files).value(0);
    }
};

TEST_F(BatchImports, TilesOfAFolderComeInTogetherAndOneRefusalWritesNothing) {
    ASSERT_EQ(run({"export-tiles", dir.path("s.sty"), dir.path("tiles"), "--pattern", "t%02d.bmp"}), 0);
    // Unchanged files give the same file back.
    ASSERT_EQ(run({"import-tiles", dir.path("s.sty"), dir.path("tiles"), dir.path("same.sty"),
                   "--pattern=t%02d.bmp"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("32 tiles imported from \"%1\"\nwrote %2 (%3 KiB)\n")
                       .arg(dir.path("tiles"), dir.path("same.sty"))
                       .arg((QFileInfo(dir.path("same.sty")).size() + 1023) / 1024));
    EXPECT_EQ(readWholeFile(dir.path("same.sty")), readWholeFile(dir.path("s.sty")));

    // Two tiles painted, the rest of the folder gone: only those two change.
    const QImage before3 = pixels(dir.path("tiles/t03.bmp"));
    mirrorFile(dir.path("tiles/t03.bmp"));
    mirrorFile(dir.path("tiles/t17.bmp"));
    for (const QString &name : QDir(dir.path("tiles")).entryList(QDir::Files))
        if (name != "t03.bmp" && name != "t17.bmp")
            QFile::remove(dir.path("tiles/" + name));
    ASSERT_EQ(run({"import-tiles", dir.path("s.sty"), dir.path("tiles"), dir.path("two.sty"), "--pattern",
                   "t%02d.bmp"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("2 tiles imported from \"%1\"\n").arg(dir.path("tiles"))));
    ASSERT_EQ(run({"export-tiles", dir.path("two.sty"), dir.path("back"), "--pattern", "t%02d.bmp"}), 0);
    EXPECT_EQ(pixels(dir.path("back/t03.bmp")), before3.mirrored(true, false));
    EXPECT_EQ(pixels(dir.path("back/t17.bmp")), pixels(dir.path("tiles/t17.bmp")));
    ASSERT_EQ(run({"export-tiles", dir.path("s.sty"), dir.path("orig"), "--pattern", "t%02d.bmp"}), 0);
    for (const char *other : {"t00.bmp", "t04.bmp", "t31.bmp"})
        EXPECT_EQ(readWholeFile(dir.path("back/") + other), readWholeFile(dir.path("orig/") + other))
            << other;

    // A file of the wrong size after a good one: refused by name, nothing written.
    saveBitmap8(dir.path("tiles/t20.bmp"), QImage(3, 3, QImage::Format_Indexed8));
    EXPECT_EQ(run({"import-tiles", dir.path("s.sty"), dir.path("tiles"), dir.path("no.sty"), "--pattern",
                   "t%02d.bmp"}),
              1);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.endsWith(
        QStringLiteral("\nStopped at \"%1\"; nothing was written.\n").arg(dir.path("tiles/t20.bmp"))))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));

    // A folder without one file the pattern names, and no folder at all.
    EXPECT_EQ(run({"import-tiles", dir.path("s.sty"), dir.path("tiles"), dir.path("no.sty")}), 1);
    EXPECT_EQ(err, QStringLiteral("\"%1\" holds no tile file named by the pattern \"VYR2_TILE_%d.bmp\".\n"
                                  "Nothing was written.\n")
                       .arg(dir.path("tiles")));
    EXPECT_EQ(run({"import-tiles", dir.path("s.sty"), dir.path("none"), dir.path("no.sty")}), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("\"%1\" is no folder.").arg(dir.path("none"))))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));
}

TEST_F(BatchImports, ARangeOfSpritesComesInByItsExportNamesAndOneRefusalWritesNothing) {
    ASSERT_EQ(run({"export-sprites", dir.path("s.sty"), dir.path("sprites"), "--png"}), 0)
        << err.toStdString();
    ASSERT_EQ(run({"export-sprites", dir.path("s.sty"), dir.path("bmps"), "--start", "10", "--end", "12"}),
              0);
    // The whole folder back, a sprite without a picture skipped as its export skipped it.
    ASSERT_EQ(run({"import-sprites", dir.path("s.sty"), dir.path("sprites"), dir.path("same.sty"), "--choice",
                   "pixels-only"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    const int files = QDir(dir.path("sprites")).entryList(QDir::Files).size();
    EXPECT_TRUE(out.startsWith(
        QStringLiteral("%1 sprites imported from \"%2\"\n").arg(files).arg(dir.path("sprites"))))
        << out.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("same.sty")), readWholeFile(dir.path("s.sty")));

    // Sprite 11 painted (a bitmap), the range 10 to 11 imported.
    const QStringList names = QDir(dir.path("bmps")).entryList(QDir::Files);
    ASSERT_EQ(names.size(), 3);
    const QString eleven = spriteName(11);
    const QImage before = pixels(dir.path("bmps/") + eleven);
    mirrorFile(dir.path("bmps/") + eleven);
    ASSERT_EQ(run({"import-sprites", dir.path("s.sty"), dir.path("bmps"), dir.path("one.sty"), "--start",
                   "10", "--end", "11", "--choice", "4"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("2 sprites imported from \"%1\"\n").arg(dir.path("bmps"))))
        << out.toStdString();
    ASSERT_EQ(run({"export-sprites", dir.path("one.sty"), dir.path("back"), "--start", "10", "--end", "12"}),
              0);
    EXPECT_EQ(pixels(dir.path("back/") + eleven), before.mirrored(true, false));
    for (const QString &name : names)
        if (name != eleven) {
            EXPECT_EQ(readWholeFile(dir.path("back/") + name), readWholeFile(dir.path("bmps/") + name))
                << name.toStdString();
        }

    // Sprite 12 of the wrong size: the range up to it is refused by its name, nothing written.
    const QString twelve = dir.path("bmps/") + spriteName(12);
    saveBitmap8(twelve, QImage(3, 3, QImage::Format_Indexed8));
    EXPECT_EQ(run({"import-sprites", dir.path("s.sty"), dir.path("bmps"), dir.path("no.sty"), "--start", "10",
                   "--choice", "pixels-only"}),
              1);
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_TRUE(err.endsWith(QStringLiteral("\nStopped at \"%1\"; nothing was written.\n").arg(twelve)))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));
    EXPECT_EQ(
        run({"import-sprites", dir.path("s.sty"), dir.path("bmps"), dir.path("no.sty"), "--start", "10"}), 2);
    EXPECT_TRUE(err.startsWith("vyr2-sty: --choice needs one of")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no.sty")));
}

} // namespace
