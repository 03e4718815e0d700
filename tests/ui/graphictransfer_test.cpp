// Pictures in and out of sprites and tiles without a file dialog: the clipboard and files dropped
// on the views. Each goes through the import's checks and questions and makes one undo step.

#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "graphics/graphicfile.h"
#include "graphics/spriteentries.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "opensample.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"
#include "ui/selectedsprite.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"
#include "ui/tilegridview.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct Transfer : ::testing::Test {
    Transfer() {
        makeEveryPage(window);
        showAndOpen(window, prompts, dir, sample);
        page = window.spritesPage();
        grid = window.findChild<TileGridView *>(QStringLiteral("DrawGrid1"));
        opened = window.document();
        pickSpritePair();
    }

    const StyleDocument &doc() { return window.document(); }
    // The sprite's pixel indexes read from the store, row by row.
    QByteArray storedPixels(const StyleDocument &d, int sprite) {
        const SpriteEntry &e = d.SpriteIndex[std::size_t(sprite)];
        QByteArray bytes;
        for (int row = 0; row < e.h; ++row)
            bytes.append(
                reinterpret_cast<const char *>(d.SpriteStore.constScanLine(e.page() * 256 + e.y() + row)) +
                    e.x(),
                e.w);
        return bytes;
    }
    QByteArray storedTile(const StyleDocument &d, int tile) {
        const QPoint origin = tileOrigin(tile);
        QByteArray bytes;
        for (int row = 0; row < TileSide; ++row)
            bytes.append(reinterpret_cast<const char *>(d.TileStore.constScanLine(origin.y() + row)) +
                             origin.x(),
                         TileSide);
        return bytes;
    }
    // Two sprites of one size and physical palette with different pixels, so a picture of one
    // fits the other with every colour where it was.
    void pickSpritePair() {
        const StyleDocument &d = sample;
        for (int a = 0; a < d.spriteCount() && source < 0; ++a)
            for (int b = 0; b < d.spriteCount() && source < 0; ++b) {
                const SpriteEntry &ea = d.SpriteIndex[std::size_t(a)];
                const SpriteEntry &eb = d.SpriteIndex[std::size_t(b)];
                if (a != b && ea.w == eb.w && ea.h == eb.h && ea.w > 2 && spriteOnItsPage(d, ea) &&
                    spriteOnItsPage(d, eb) && spritePhysicalPalette(d, a) == spritePhysicalPalette(d, b) &&
                    storedPixels(d, a) != storedPixels(d, b)) {
                    source = a;
                    target = b;
                }
            }
        ASSERT_GE(source, 0) << "the sample has no two sprites to exchange pictures";
    }
    void drop(QWidget *on, QPoint at, const QString &path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(on, &enter);
        EXPECT_TRUE(enter.isAccepted()) << path.toStdString();
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(on, &dropped);
    }
    int steps() { return window.history().stack().count(); }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    StyleDocument opened;
    Twnd_editor window;
    SpritesPage *page = nullptr;
    TileGridView *grid = nullptr;
    int source = -1;
    int target = -1;
};

TEST_F(Transfer, CopyThenPasteIsOneUndoStepWithThePaletteKept) {
    page->selectByNumber(source);
    findCaptioned<QAction>(page, "Copy")->trigger();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    // An 8-bit bitmap ("BM", 8 bits per pixel at byte 28) and a true-colour picture of the sprite.
    const QByteArray bitmap = mime->data(QStringLiteral("image/bmp"));
    ASSERT_GT(bitmap.size(), 30);
    EXPECT_EQ(bitmap.left(2), "BM");
    EXPECT_EQ(quint8(bitmap[28]), 8);
    const QImage plain = qvariant_cast<QImage>(mime->imageData());
    const SpriteEntry &e = sample.SpriteIndex[std::size_t(source)];
    ASSERT_EQ(plain.size(), QSize(e.w, e.h));
    const QList<QRgb> colours = spriteColours(sample, source);
    const QByteArray pixels = storedPixels(sample, source);
    for (const QPoint p : {QPoint(0, 0), QPoint(e.w / 2, e.h / 2), QPoint(e.w - 1, e.h - 1)})
        EXPECT_EQ(plain.pixel(p) & 0xffffff, colours[quint8(pixels[p.y() * e.w + p.x()])] & 0xffffff);

    page->selectByNumber(target);
    const int before = steps();
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    findCaptioned<QAction>(page, "Paste")->trigger();
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_EQ(storedPixels(doc(), target), pixels);
    EXPECT_EQ(steps(), before + 1);
    window.history().stack().undo();
    EXPECT_EQ(storedPixels(doc(), target), storedPixels(sample, target));
    EXPECT_EQ(doc(), opened);
}

TEST_F(Transfer, ATrueColourPictureTakesThePaletteEntriesOfItsColours) {
    window.mainPages()->setCurrentIndex(1);
    const int tile = 5;
    const QPoint cell = cellOfTile(tile);
    grid->setCurrentCell(cell.x(), cell.y());
    const int palette = physicalPaletteOf(sample, tileVirtualPalette(tile)).value();
    // Three entries whose colours no other entry of the palette holds.
    QList<int> unique;
    for (int c = 1; c < 256 && unique.size() < 3; ++c) {
        const quint32 colour = directclutacces(sample, palette, c, false);
        int holders = 0;
        for (int other = 0; other < 256; ++other)
            holders += directclutacces(sample, palette, other, false) == colour;
        if (holders == 1)
            unique << c;
    }
    ASSERT_EQ(unique.size(), 3);
    QImage picture(TileSide, TileSide, QImage::Format_RGB32);
    QByteArray expected;
    for (int y = 0; y < TileSide; ++y)
        for (int x = 0; x < TileSide; ++x) {
            const int c = unique[(x / 8 + y) % 3];
            picture.setPixel(x, y, 0xff000000 | toRgb(directclutacces(sample, palette, c, false)));
            expected.append(char(c));
        }
    // As paint programs offer it: a 24-bit bitmap beside a PNG, both true colour.
    saveBitmap24(dir.path("offered.bmp"), picture);
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    picture.save(&pngBuffer, "PNG");
    auto *offered = new QMimeData;
    offered->setData("image/bmp", readWholeFile(dir.path("offered.bmp")));
    offered->setData("image/png", png);
    QGuiApplication::clipboard()->setMimeData(offered);
    prompts.queue(Answer::Cancel); // keep the tile's palette
    findCaptioned<QAction>(grid->parentWidget(), "Paste")->trigger();
    EXPECT_EQ(storedTile(doc(), tile), expected);
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();

    // More colours than a palette holds: refused, nothing changes.
    const StyleDocument pasted = doc();
    for (int y = 0; y < TileSide; ++y)
        for (int x = 0; x < TileSide; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 4, 7));
    QGuiApplication::clipboard()->setImage(picture);
    findCaptioned<QAction>(grid->parentWidget(), "Paste")->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().first().contains("more than 256 colours"));
    EXPECT_EQ(doc(), pasted);
}

TEST_F(Transfer, AnEightBitBitmapOnTheClipboardIsPreferredAndARefusalNamesTheClipboard) {
    window.mainPages()->setCurrentIndex(1);
    const int tile = 6;
    const QPoint cell = cellOfTile(tile);
    grid->setCurrentCell(cell.x(), cell.y());
    // The 8-bit bitmap carries tile 1's indexes exactly; the true-colour form beside it could not.
    saveBitmap8(dir.path("tile.bmp"), tileBitmap(sample, 1));
    auto *offered = new QMimeData;
    offered->setData("image/bmp", readWholeFile(dir.path("tile.bmp")));
    offered->setImageData(QImage(TileSide, TileSide, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(offered);
    prompts.queue(Answer::No); // keep the tile's own palette entry, write the file's colours
    prompts.queueText(QString::number(physicalPaletteOf(sample, tileVirtualPalette(tile)).value()));
    findCaptioned<QAction>(grid->parentWidget(), "Paste")->trigger();
    EXPECT_EQ(storedTile(doc(), tile), storedTile(sample, 1));
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();

    // A bitmap cut short is refused in the clipboard's name, not a work file's; so is one of
    // another size.
    const StyleDocument pasted = doc();
    const QByteArray whole = readWholeFile(dir.path("tile.bmp"));
    auto *cut = new QMimeData;
    cut->setData("image/bmp", whole.left(whole.size() - 100));
    QGuiApplication::clipboard()->setMimeData(cut);
    findCaptioned<QAction>(grid->parentWidget(), "Paste")->trigger();
    saveBitmap8(dir.path("small.bmp"), tileBitmap(sample, 1).copy(0, 0, 10, 10));
    auto *small = new QMimeData;
    small->setData("image/bmp", readWholeFile(dir.path("small.bmp")));
    QGuiApplication::clipboard()->setMimeData(small);
    findCaptioned<QAction>(grid->parentWidget(), "Paste")->trigger();
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].contains("\"the clipboard\"")) << prompts.messages()[0].toStdString();
    EXPECT_TRUE(prompts.messages()[1].contains("10*10")) << prompts.messages()[1].toStdString();
    for (const QString &message : prompts.messages())
        EXPECT_FALSE(message.contains("clipboard.bmp")) << message.toStdString();
    EXPECT_EQ(doc(), pasted);
}

TEST_F(Transfer, CtrlVAsksAboutColoursThePaletteLacksAndWritesOnlyThePicturesOwnColours) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.mainPages()->setCurrentIndex(1);
    const int tile = 9;
    const QPoint cell = cellOfTile(tile);
    grid->setCurrentCell(cell.x(), cell.y());
    const auto original = styleChunks(readWholeFile(dir.path("sample.sty")));
    // The tile's palette as the file stores it: its entry in the palette index, then its colours.
    const QByteArray &palx = original.at("PALX");
    const int v = tileVirtualPalette(tile);
    const int palette = quint8(palx[2 * v]) | quint8(palx[2 * v + 1]) << 8;
    const QByteArray &ppal = original.at("PPAL");
    const auto colour = [&](int c) {
        const qsizetype at = qsizetype(palette / 64) * 65536 + c * 256 + (palette % 64) * 4;
        return qRgb(quint8(ppal[at + 2]), quint8(ppal[at + 1]), quint8(ppal[at]));
    };
    const auto closeTo = [](QRgb a, QRgb b, int within) {
        return std::abs(qRed(a) - qRed(b)) <= within && std::abs(qGreen(a) - qGreen(b)) <= within &&
               std::abs(qBlue(a) - qBlue(b)) <= within;
    };
    // Entries whose colour no other entry comes near, so matching and the nearest colour each
    // have one answer.
    QList<int> lone;
    for (int c = 1; c < 256 && lone.size() < 3; ++c) {
        bool alone = true;
        for (int other = 0; other < 256 && alone; ++other)
            alone = other == c || !closeTo(colour(other), colour(c), 4);
        if (alone)
            lone << c;
    }
    ASSERT_EQ(lone.size(), 3);
    const QRgb nearby = qRgb(qRed(colour(lone[2])), qGreen(colour(lone[2])),
                             qBlue(colour(lone[2])) + (qBlue(colour(lone[2])) < 128 ? 2 : -2));
    // Two colours of the palette in stripes and, in one corner, a colour it lacks.
    QImage picture(TileSide, TileSide, QImage::Format_RGB32);
    QByteArray expected;
    for (int y = 0; y < TileSide; ++y)
        for (int x = 0; x < TileSide; ++x) {
            const int c = x < 8 && y < 8 ? lone[2] : lone[(x / 4) % 2];
            picture.setPixel(x, y, x < 8 && y < 8 ? nearby : colour(c));
            expected.append(char(c));
        }
    QGuiApplication::clipboard()->setImage(picture);

    const int before = steps();
    prompts.queue(Answer::Cancel); // keep the tile's palette
    prompts.queueColours(MissingColoursAnswer::Nearest);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();
    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_TRUE(prompts.shown()[1].startsWith("1 colour (64 pixels) that \"the clipboard\" uses"))
        << prompts.shown()[1].toStdString();
    EXPECT_EQ(steps(), before + 1);

    prompts.queueText(dir.path("pasted.sty"));
    findCaptioned<QAction>(&window, "save as")->trigger();
    const auto saved = styleChunks(readWholeFile(dir.path("pasted.sty")));
    const QByteArray &tiles = saved.at("TILE");
    const QByteArray &was = original.at("TILE");
    ASSERT_EQ(tiles.size(), was.size());
    const QPoint origin = tileOrigin(tile);
    for (qsizetype at = 0; at < tiles.size(); ++at) {
        const int x = int(at % 256) - origin.x(), y = int(at / 256) - origin.y();
        const bool inTile = x >= 0 && y >= 0 && x < TileSide && y < TileSide;
        ASSERT_EQ(quint8(tiles[at]), quint8(inTile ? expected[y * TileSide + x] : was[at])) << x << "," << y;
    }
    for (const auto &[tag, bytes] : original) {
        if (tag != "TILE") {
            EXPECT_EQ(saved.at(tag), bytes) << tag.constData();
        }
    }

    // With its colours written into the palette, a picture of two colours writes entries 0 and 1
    // and leaves the rest of the palette as it was.
    QImage two(TileSide, TileSide, QImage::Format_RGB32);
    for (int y = 0; y < TileSide; ++y)
        for (int x = 0; x < TileSide; ++x)
            two.setPixel(x, y, x < 32 ? qRgb(1, 2, 3) : qRgb(250, 251, 252));
    QGuiApplication::clipboard()->setImage(two);
    prompts.queue(Answer::Yes);
    prompts.queueText(QString::number(palette));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(prompts.allAnswersUsed());
    prompts.queueText(dir.path("written.sty"));
    findCaptioned<QAction>(&window, "save as")->trigger();
    const QByteArray written = styleChunks(readWholeFile(dir.path("written.sty"))).at("PPAL");
    ASSERT_EQ(written.size(), ppal.size());
    for (qsizetype at = 0; at < written.size(); ++at) {
        const int p = int(at / 65536) * 64 + int(at % 256) / 4, c = int(at % 65536) / 256;
        const QRgb put = c == 0 ? qRgb(1, 2, 3) : qRgb(250, 251, 252);
        const int channel = int(at % 4);
        const int want = p != palette || c > 1 || channel == 3 ? quint8(ppal[at])
                                                               : (channel == 0   ? qBlue(put)
                                                                  : channel == 1 ? qGreen(put)
                                                                                 : qRed(put));
        ASSERT_EQ(quint8(written[at]), want) << "palette " << p << " colour " << c;
    }
}

TEST_F(Transfer, FilesDroppedOnASpriteOrTileImportIntoIt) {
    const QString sourceFile = dir.path("source.bmp");
    saveBitmap8(sourceFile, spriteGlyph(sample, source));
    page->selectByNumber(0);
    // Dropped on the strip: the sprite under the pointer is selected and takes the picture.
    const QRect rect = spriteRect(sample.SpriteIndex[std::size_t(target)]);
    page->setZoom(2);
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    drop(page->strip(), rect.center() * 2, sourceFile);
    EXPECT_EQ(page->selectedSprite(), target);
    EXPECT_EQ(storedPixels(doc(), target), storedPixels(sample, source));
    window.history().stack().undo();

    // Dropped on the selected sprite itself.
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    drop(page->activesprite(), QPoint(1, 1), sourceFile);
    EXPECT_EQ(storedPixels(doc(), target), storedPixels(sample, source));

    // Dropped on a cell of the texture grid.
    window.mainPages()->setCurrentIndex(1);
    const int tile = 6;
    const QString tileFile = dir.path("tile.bmp");
    saveBitmap8(tileFile, tileBitmap(sample, 1));
    prompts.queue(Answer::No); // keep the tile's own palette entry, write the file's colours
    prompts.queueText(QString::number(physicalPaletteOf(sample, tileVirtualPalette(tile)).value()));
    const QPoint cell = cellOfTile(tile);
    drop(grid->viewport(),
         QPoint(cell.x() * TileSide + 3, cell.y() * TileSide + 3) -
             QPoint(grid->horizontalScrollBar()->value(), 0),
         tileFile);
    EXPECT_EQ(grid->currentTile(), tile);
    EXPECT_EQ(storedTile(doc(), tile), storedTile(sample, 1));
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();
}

} // namespace
