// The window's pages after commands: the sprite list's columns and current item, the info panel
// after tile commands, "redraw overlay", the folders of the file dialogs and the surface columns.

#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/texturespage.h"
#include "ui/tilegridview.h"
#include "widgets/paletteswatch.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The sample open in a window of the size the editor starts with.
struct Window : ::testing::Test {
    explicit Window(bool scripted = true) {
        makeEveryPage(window);
        SilentProgress progress;
        LineLog log;
        StyleDocument written = makeSampleStyle();
        samplePath = writeStyle(written, dir.path("sample.sty"), prompts, progress, log);
        if (scripted)
            window.setPrompts(&prompts);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.opensty(samplePath);
        sample = window.document();
    }

    QAction *action(const QString &caption, const QString &tab) {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                for (QAction *a : window.mainPages()->widget(i)->findChildren<QAction *>())
                    if (a->text() == caption)
                        return a;
        ADD_FAILURE() << "no action " << caption.toStdString();
        return nullptr;
    }
    QPushButton *button(const QString &caption) { return findCaptioned<QPushButton>(&window, caption); }
    void showPage(const QString &tab) {
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                window.mainPages()->setCurrentIndex(i);
        QCoreApplication::processEvents();
    }
    QString info() { return window.findChild<QPlainTextEdit *>(QStringLiteral("info"))->toPlainText(); }
    // The info panel's text for a tile, as the Textures page describes one.
    QString tileText(int tile) {
        return QStringLiteral("Filename: \"VYR2_TILE_%1.bmp\"\nIndex: %1\nPalette: %2")
            .arg(tile)
            .arg(window.document().PaletteIndex[std::size_t(tile)]);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    QString samplePath;
    StyleDocument sample;
    Twnd_editor window;
};

// Items in the first row of the list, and whether every item stays inside the list's width.
struct Columns {
    int count = 0;
    bool inside = true;
};
Columns measureColumns(const QListWidget *list) {
    Columns columns;
    const int top = list->visualItemRect(list->item(0)).top();
    for (int row = 0; row < list->count(); ++row) {
        const QRect item = list->visualItemRect(list->item(row));
        columns.count += item.top() == top ? 1 : 0;
        columns.inside = columns.inside && item.left() >= 0 && item.right() < list->viewport()->width();
    }
    return columns;
}

TEST_F(Window, TheSpriteListStandsInColumnsAndKeepsItsItemAcrossEdits) {
    // The first visit, at the size the window starts with.
    showPage(QStringLiteral("sprite list"));
    QListWidget *list = window.spriteListPage()->list();
    for (const QSize size : {QSize(837, 462), QSize(1270, 1000), QSize(700, 500)}) {
        window.resize(size);
        QCoreApplication::processEvents();
        const Columns columns = measureColumns(list);
        EXPECT_EQ(columns.count, std::max(1, list->viewport()->width() / 130)) << size.width();
        EXPECT_TRUE(columns.inside) << size.width();
        EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0) << size.width();
    }

    const int car = 5;
    list->setCurrentRow(car);
    QAction *publish = action(QStringLiteral("create zip and gif file of this car for publishing"),
                              QStringLiteral("sprite list"));
    ASSERT_TRUE(publish->isEnabled());
    button(QStringLiteral("mirror all door locations"))->click();
    ASSERT_TRUE(window.isModified());
    EXPECT_EQ(list->currentRow(), car);
    window.setFileOpener([](const QString &) { return true; });
    prompts.queueText(dir.path("published"));
    publish->trigger();
    EXPECT_TRUE(readWholeFile(dir.path("published.zip")).contains("VYR2_CAR_5.bmp"));

    action(QStringLiteral("refresh"), QStringLiteral("sprite list"))->trigger();
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Window, TileCommandsLeaveTheInfoPanelOnTheirTile) {
    auto *grid = window.findChild<TileGridView *>();
    showPage(QStringLiteral("Textures"));
    grid->setCurrentCell(5, 2); // tile 16 + 4 * 2 + 1
    window.spritesPage()->selectByNumber(3);
    ASSERT_NE(info(), tileText(25));

    prompts.queue(Answer::Yes);
    action(QStringLiteral("add page"), QStringLiteral("Textures"))->trigger();
    EXPECT_EQ(info(), tileText(25));

    window.spritesPage()->selectByNumber(3);
    prompts.queueText(dir.path("tiles.bmp"));
    QPushButton *exportRaw = button(QStringLiteral("export raw"));
    ASSERT_EQ(exportRaw->parentWidget()->property("title").toString(), QStringLiteral(" Tiles "));
    exportRaw->click();
    EXPECT_EQ(info(), tileText(25));

    // "Export all" makes each cell current in turn: row by row, every column of the row.
    std::vector<int> current;
    auto *tileBar = window.mainPages()->currentWidget()->findChild<QProgressBar *>();
    ASSERT_NE(tileBar, nullptr);
    QObject::connect(tileBar, &QProgressBar::valueChanged, [&](int position) {
        if (position > 0)
            current.push_back(grid->currentTile());
    });
    prompts.queueText(dir.path(QString()) + QLatin1Char('/'));
    action(QStringLiteral("Export all"), QStringLiteral("Textures"))->trigger();
    const int columns = window.document().TileStore.height() / 64;
    std::vector<int> gridOrder;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < columns; ++c)
            gridOrder.push_back(c % 4 + 4 * r + 16 * (c / 4));
    EXPECT_EQ(current, gridOrder);
    EXPECT_EQ(info(), tileText(gridOrder.back()));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Window, RedrawOverlayEndsOnTheSpriteSelectorsNumber) {
    window.spritesPage()->selectByNumber(3);
    window.findChild<QSpinBox *>(QStringLiteral("spriteselector"))->setValue(7);
    action(QStringLiteral("redraw overlay"), QStringLiteral("Sprites"))->trigger();
    EXPECT_EQ(window.spritesPage()->selectedSprite(), 7);
    EXPECT_TRUE(info().contains(QStringLiteral("_7.bmp\""))) << info().toStdString();
}

TEST_F(Window, TheSurfaceColumnsStartOnOneLine) {
    showPage(QStringLiteral("Surfaces"));
    QWidget *page = window.mainPages()->currentWidget();
    const int top = page->findChild<QPlainTextEdit *>(QStringLiteral("spec1"))->mapTo(page, QPoint()).y();
    for (const char *name : {"spec2", "spec3", "spec4", "spec5", "spec_", "spec7", "spec8", "spec9"})
        EXPECT_EQ(page->findChild<QPlainTextEdit *>(QLatin1String(name))->mapTo(page, QPoint()).y(), top)
            << name;
    for (const QLabel *caption : page->findChildren<QLabel *>()) {
        if (caption->text().contains(QLatin1Char('\n')) && !caption->wordWrap()) {
            EXPECT_LE(caption->mapTo(page, QPoint(0, caption->height())).y(), top)
                << caption->text().toStdString();
        }
    }
}

// With the editor's own dialogs: each kind of file remembers its folder.
struct WindowWithDialogs : Window {
    WindowWithDialogs() : Window(false) {}
};

// Answers the next file dialog with `name` in `folder` (or cancels it when `folder` is empty),
// noting the folder and file name it opened with.
void answerFileDialog(const QString &folder, const QString &name, QString *openedIn, QString *proposed) {
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        *openedIn = dialog->directory().absolutePath();
        *proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        if (folder.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(QDir(folder).filePath(name));
        static_cast<QDialog *>(dialog)->accept();
    });
}

// The window as the editor starts it, answering through its own dialogs: drawing on a tile is
// stored as a step.
TEST_F(WindowWithDialogs, AStrokeOnATileIsStored) {
    showPage("Textures");
    TexturesPage *textures = window.texturesPage();
    textures->grid()->setCurrentCell(2, 1);
    const int tile = textures->grid()->currentTile();
    textures->setFocus();
    QTest::keyClick(textures, Qt::Key_B);
    DrawingPanel *panel = textures->drawing();
    ASSERT_TRUE(panel->isVisible());
    auto *canvas = textures->findChild<DrawingCanvas *>("cellcanvas");
    ASSERT_TRUE(canvas->isVisible());
    // Two colours, so that one of them differs from the pixel's.
    for (const int index : {250, 251}) {
        QTest::mouseClick(panel->swatch(), Qt::LeftButton, {}, panel->swatch()->cellCentre(index));
        const QPoint pixel = QPoint(1, 1) * canvas->zoom();
        QTest::mousePress(canvas, Qt::LeftButton, {}, pixel);
        QTest::mouseMove(canvas, pixel);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, pixel);
    }
    EXPECT_NE(window.document().TileStore, sample.TileStore);
    EXPECT_EQ(window.history().stack().undoText(), QStringLiteral("draw on tile %1").arg(tile));
}

TEST_F(WindowWithDialogs, FileDialogsOpenWhereTheirKindOfFileWentLast) {
    showPage(QStringLiteral("Textures"));
    const QString tiles = dir.path(QStringLiteral("tiles"));
    ASSERT_TRUE(QDir().mkpath(tiles));
    QString openedIn;
    QString proposed;
    answerFileDialog(tiles, QStringLiteral("first.bmp"), &openedIn, &proposed);
    action(QStringLiteral("export"), QStringLiteral("Textures"))->trigger();
    ASSERT_TRUE(QFile::exists(QDir(tiles).filePath(QStringLiteral("first.bmp"))));
    EXPECT_EQ(proposed, QStringLiteral("VYR2_TILE_0.bmp"));

    answerFileDialog(QString(), QString(), &openedIn, &proposed);
    action(QStringLiteral("import"), QStringLiteral("Textures"))->trigger();
    EXPECT_EQ(openedIn, QFileInfo(tiles).absoluteFilePath());
    EXPECT_EQ(proposed, QStringLiteral("VYR2_TILE_0.bmp"));

    // Sprites have a folder of their own, not yet chosen.
    showPage(QStringLiteral("Sprites"));
    answerFileDialog(QString(), QString(), &openedIn, &proposed);
    action(QStringLiteral("export"), QStringLiteral("Sprites"))->trigger();
    EXPECT_NE(openedIn, QFileInfo(tiles).absoluteFilePath());
}

TEST_F(WindowWithDialogs, TheTileExportsPngFilterWritesAPalettePng) {
    showPage(QStringLiteral("Textures"));
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        dialog->selectNameFilter(QStringLiteral("*.png (*.png)"));
        dialog->selectFile(dir.path(QStringLiteral("chosen")));
        static_cast<QDialog *>(dialog)->accept();
    });
    action(QStringLiteral("export"), QStringLiteral("Textures"))->trigger();
    EXPECT_EQ(filters, QStringList({QStringLiteral("*.bmp (*.bmp)"), QStringLiteral("*.png (*.png)")}));
    ASSERT_TRUE(readWholeFile(dir.path(QStringLiteral("chosen.png"))).startsWith("\x89PNG\r\n\x1a\n"));
    const QImage written(dir.path(QStringLiteral("chosen.png")));
    ASSERT_EQ(written.format(), QImage::Format_Indexed8);
    const QImage &store = window.document().TileStore;
    for (int y = 0; y < 64; ++y)
        ASSERT_EQ(QByteArray(reinterpret_cast<const char *>(written.constScanLine(y)), 64),
                  QByteArray(reinterpret_cast<const char *>(store.constScanLine(y)), 64))
            << y;
}

} // namespace
