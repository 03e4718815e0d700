// Runs under a real X server (xvfb-run): the window with the sample open is grabbed from the screen
// as the user would see it and saved as PNGs; the pictures are checked against the sample, the
// layout against the window, and the titles against what the X server was told.

#include "graphics/spriteentries.h"
#include "palette/palettelookup.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/careditordialog.h"
#include "ui/deltaspage.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/editorapplication.h"
#include "ui/selectedsprite.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"
#include "ui/tilegridview.h"
#include "ui/twnd_adjust.h"
#include "ui/twnd_askimport.h"
#include "ui/twnd_clutdialog.h"
#include "ui/twnd_editor.h"
#include "widgets/zoom.h"

#include "platform/log.h"
#include "platform/progress.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>
#include <cstring>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

namespace {

// The sample style opened in a window shown on the screen.
struct Screenshot : ::testing::Test {
    void SetUp() override {
        SilentProgress progress;
        LineLog log;
        const QString path = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.opensty(path);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    Twnd_editor window;
};

TEST_F(Screenshot, ThePalettesPageShowsTheSampleColours) {
    QTabWidget *pages = window.mainPages();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == QStringLiteral("Palettes"))
            pages->setCurrentIndex(i);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("palettes-page.png"));
    const auto *clut = window.mainPages()->findChild<QWidget *>(QStringLiteral("clut1"));
    ASSERT_NE(clut, nullptr);
    const QPoint origin = clut->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (const QPoint p : {QPoint(0, 0), QPoint(3, 17), QPoint(40, 90), QPoint(100, 120), QPoint(127, 60)}) {
        if (!clut->rect().contains(p) || p.x() >= sample.PhysicalPaletteCount)
            continue;
        const QRgb expected = toRgb(directclutacces(sample, p.x(), p.y(), false));
        EXPECT_EQ(shot.pixel(origin + p) & 0xffffff, expected & 0xffffff) << p.x() << "," << p.y();
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

TEST_F(Screenshot, TheSpritesPageShowsTheStripWithTheSelectedSprite) {
    window.spritesPage()->selectByNumber(12);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("sprites-page.png"));
    const QWidget *strip = window.spritesPage()->strip();
    const QPoint origin = strip->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (int sprite = 0; sprite < sample.spriteCount(); sprite += 7) {
        const QPoint p = spriteRect(sample.SpriteIndex[std::size_t(sprite)]).center();
        const QPoint onScreen = origin + p;
        if (spriteAtPoint(sample, p) != sprite || !shot.rect().contains(onScreen) ||
            !strip->visibleRegion().contains(p) ||
            window.spritesPage()->activesprite()->geometry().contains(p))
            continue;
        const SpriteEntry &e = sample.SpriteIndex[std::size_t(sprite)];
        const int index = sample.SpriteStore.pixelIndex(p.x() % 256, e.page() * 256 + p.y());
        EXPECT_EQ(shot.pixel(onScreen) & 0xffffff, spriteColours(sample, sprite)[index] & 0xffffff) << sprite;
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST_F(Screenshot, AtFourTimesTheSelectedSpriteShowsItsTruePixelsInsideAGrid) {
    const int sprite = 12;
    SpritesPage *page = window.spritesPage();
    page->selectByNumber(sprite);
    constexpr int zoom = 4;
    page->setZoom(zoom);
    page->selectByNumber(sprite);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("sprites-page-zoomed.png"));
    const QWidget *control = page->activesprite();
    const QPoint origin = control->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    const SpriteEntry &e = sample.SpriteIndex[std::size_t(sprite)];
    const QList<QRgb> colours = spriteColours(sample, sprite);
    int checked = 0;
    // Away from the frame on the outermost screen pixels: each picture pixel is a 4 x 4 square, its
    // left column and top row the grid's, the other nine its own colour.
    for (int y = 1; y < e.h - 1; y += 3) {
        for (int x = 1; x < e.w - 1; x += 3) {
            const QPoint square = origin + QPoint(x, y) * zoom;
            if (!control->visibleRegion().contains(QPoint(x, y) * zoom + QPoint(zoom - 1, zoom - 1)))
                continue;
            const QRgb colour = colours[sample.SpriteStore.pixelIndex(e.x() + x, e.page() * 256 + e.y() + y)];
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx) {
                    const QRgb expected = dx == 0 || dy == 0 ? PixelGridColour : colour;
                    ASSERT_EQ(shot.pixel(square + QPoint(dx, dy)) & 0xffffff, expected & 0xffffff)
                        << x << "," << y << " +" << dx << "," << dy;
                }
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

TEST_F(Screenshot, StrokesDrawnInPlaceAtFourTimesShowTheirColours) {
    const int sprite = 12;
    SpritesPage *page = window.spritesPage();
    page->selectByNumber(sprite);
    page->drawing()->drawAction()->setChecked(true);
    constexpr int zoom = 4;
    page->setZoom(zoom);
    page->selectByNumber(sprite);
    DrawingCanvas *canvas = page->stripCanvas();
    const QList<QRgb> colours = spriteColours(sample, sprite);
    // Two indexes whose colours differ from each other and from the grid's.
    const int first = 1;
    int second = first + 1;
    while ((colours[second] & 0xffffff) == (colours[first] & 0xffffff) ||
           (colours[second] & 0xffffff) == (PixelGridColour & 0xffffff))
        ++second;
    ASSERT_NE(colours[first] & 0xffffff, PixelGridColour & 0xffffff);
    const auto at = [&](QPoint pixel) {
        return pixel * zoom + QPoint(2, 2);
    };
    page->drawing()->setTool(DrawTool::Pencil);
    canvas->setIndexes(uchar(first), uchar(second));
    QTest::mousePress(canvas, Qt::LeftButton, {}, at(QPoint(1, 2)));
    QTest::mouseMove(canvas, at(QPoint(6, 2)));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, at(QPoint(6, 2)));
    page->drawing()->setTool(DrawTool::FilledRectangle);
    page->stripCanvas()->setIndexes(uchar(first), uchar(second));
    QTest::mousePress(canvas, Qt::RightButton, {}, at(QPoint(2, 4)));
    QTest::mouseMove(canvas, at(QPoint(4, 6)));
    QTest::mouseRelease(canvas, Qt::RightButton, {}, at(QPoint(4, 6)));
    ASSERT_EQ(window.history().stack().count(), 2);
    QTest::qWait(200);

    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("drawn-in-place.png"));
    const QPoint origin = canvas->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    const auto check = [&](QPoint pixel, int index) {
        if (!canvas->visibleRegion().contains(pixel * zoom + QPoint(zoom - 1, zoom - 1)))
            return;
        // The pixel's own screen pixels, right of and below the grid line.
        for (int dy = 1; dy < zoom; ++dy)
            for (int dx = 1; dx < zoom; ++dx)
                ASSERT_EQ(shot.pixel(origin + pixel * zoom + QPoint(dx, dy)) & 0xffffff,
                          colours[index] & 0xffffff)
                    << pixel.x() << "," << pixel.y();
        ++checked;
    };
    for (int x = 1; x <= 6; ++x)
        check(QPoint(x, 2), first);
    for (int y = 4; y <= 6; ++y)
        for (int x = 2; x <= 4; ++x)
            check(QPoint(x, y), second);
    EXPECT_EQ(checked, 15);
}

TEST_F(Screenshot, TheDeltasPageShowsTheSheetOfTheSelectedCar) {
    const int bus = 3;
    window.spritesPage()->selectByNumber(bus);
    for (QAction *action : window.spritesPage()->findChildren<QAction *>())
        if (action->text() == QStringLiteral("Deltas"))
            action->trigger();
    QTest::qWait(200);
    const QImage shot = window.screen()->grabWindow(0).toImage();
    shot.save(QStringLiteral("deltas-page.png"));
    const QWidget *view = window.deltasPage()->findChild<QWidget *>(QStringLiteral("deltasheet"));
    ASSERT_NE(view, nullptr);
    const QImage sheet = window.deltasPage()->sheet();
    const QPoint origin = view->mapToGlobal(QPoint(0, 0)) - window.screen()->geometry().topLeft();
    int checked = 0;
    for (const QPoint p :
         {QPoint(5, 5), QPoint(20, 40), QPoint(60, 90), QPoint(100, 30), QPoint(45, 1), QPoint(46, 150)}) {
        if (!view->visibleRegion().contains(p) || !sheet.rect().contains(p))
            continue;
        EXPECT_EQ(shot.pixel(origin + p) & 0xffffff, sheet.pixel(p) & 0xffffff) << p.x() << "," << p.y();
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

// The title the window manager shows: the window's _NET_WM_NAME property on the X server.
QString shownTitle(const QWidget &window) {
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window.windowHandle())
        return QStringLiteral("(no X window)");
    xcb_connection_t *connection = x11->connection();
    const auto atom = [connection](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name), nullptr);
        const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return found;
    };
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(window.windowHandle()->winId()),
                                                atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 1024),
                               nullptr);
    const QString title = reply ? QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply)),
                                                    xcb_get_property_value_length(reply))
                                : QString();
    free(reply);
    return title;
}

TEST_F(Screenshot, EveryWindowShowsExactlyItsCaption) {
    // The application as the editor names it, so the toolkit adds what it would add there.
    ASSERT_EQ(QGuiApplication::applicationName(), QStringLiteral("vyr2 sty tool"));
    EXPECT_EQ(shownTitle(window), QStringLiteral("vyr2 sty tool - sample.sty"));
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("mirror all door locations"))
            b->click();
    QTest::qWait(50);
    EXPECT_EQ(shownTitle(window), QStringLiteral("vyr2 sty tool - sample.sty*"));

    const std::pair<QWidget *, QString> dialogs[] = {
        {window.adjustDialog(), QStringLiteral("CLUT brightness")},
        {window.clutDialog(), QStringLiteral("Select palette")},
        {window.carEditor(), QStringLiteral("Car editor")},
        {window.askImportDialog(), QStringLiteral("how should i threat this sprite's palette?")}};
    for (const auto &[dialog, caption] : dialogs) {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        EXPECT_EQ(shownTitle(*dialog), caption);
        dialog->hide();
    }
}

// The side page control beside the main pages.
QTabWidget *sidePages(const Twnd_editor &window) {
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>())
        if (tabs->count() == 3 && tabs->tabText(2) == QStringLiteral("tool"))
            return tabs;
    return nullptr;
}

TEST_F(Screenshot, TheSpriteListAndTheToolPageFitTheWindow) {
    QTabWidget *pages = window.mainPages();
    pages->setCurrentWidget(window.spriteListPage());
    QTabWidget *side = sidePages(window);
    ASSERT_NE(side, nullptr);
    side->setCurrentIndex(2);
    for (const QSize size : {QSize(837, 462), QSize(1270, 1000)}) {
        window.setGeometry(QRect(QPoint(0, 0), size));
        QTest::qWait(200);
        const QString suffix = QStringLiteral("-%1x%2.png").arg(size.width()).arg(size.height());
        window.screen()->grabWindow(0).toImage().save(QStringLiteral("sprite-list-and-tool-page") + suffix);

        const QListWidget *list = window.spriteListPage()->list();
        const int top = list->visualItemRect(list->item(0)).top();
        int columns = 0;
        for (int row = 0; row < list->count(); ++row) {
            const QRect item = list->visualItemRect(list->item(row));
            columns += item.top() == top ? 1 : 0;
            EXPECT_LE(item.right(), list->viewport()->width()) << row;
        }
        EXPECT_EQ(columns, std::max(1, list->viewport()->width() / 130)) << size.width();

        // All three side tabs without scroll arrows, and every control of "tool" within the panel.
        const QTabBar *tabBar = side->tabBar();
        for (int tab = 0; tab < side->count(); ++tab)
            EXPECT_TRUE(tabBar->rect().contains(tabBar->tabRect(tab))) << tab;
        for (const QToolButton *arrow : tabBar->findChildren<QToolButton *>())
            EXPECT_FALSE(arrow->isVisible());
        const auto *scroll = qobject_cast<QScrollArea *>(side->widget(2));
        ASSERT_NE(scroll, nullptr);
        const QWidget *viewport = scroll->viewport();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
        int controls = 0;
        for (QWidget *control : scroll->widget()->findChildren<QWidget *>()) {
            if (!qobject_cast<QAbstractButton *>(control) && !qobject_cast<QSpinBox *>(control) &&
                !qobject_cast<QLabel *>(control))
                continue;
            const QRect inViewport(control->mapTo(viewport, QPoint()), control->size());
            EXPECT_GE(inViewport.left(), 0) << control->objectName().toStdString() << size.width();
            EXPECT_LE(inViewport.right(), viewport->width() - 1)
                << qPrintable(control->property("text").toString()) << " " << size.width();
            ++controls;
        }
        EXPECT_GE(controls, 12);
    }
}

TEST_F(Screenshot, TheTexturesPageShowsItsGridAndEveryToolAtEverySize) {
    QTabWidget *pages = window.mainPages();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == QStringLiteral("Textures"))
            pages->setCurrentIndex(i);
    auto *grid = window.findChild<TileGridView *>();
    auto *pattern = window.findChild<QLineEdit *>(QStringLiteral("tilefileformat"));
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(pattern, nullptr);
    QWidget *page = pages->currentWidget();
    for (const QSize size : {QSize(837, 462), QSize(1600, 1000), QSize(1920, 1080)}) {
        for (const int zoom : {1, 8}) {
            // Ctrl + wheel over the grid, as many notches as the zoom differs.
            const QPoint pointer(5, 5);
            QWheelEvent wheel(pointer, grid->viewport()->mapToGlobal(pointer), QPoint(),
                              QPoint(0, (zoom - grid->zoom()) * 120), Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(grid->viewport(), &wheel);
            ASSERT_EQ(grid->zoom(), zoom);
            window.setGeometry(QRect(QPoint(0, 0), size));
            QTest::qWait(200);
            const QString name =
                QStringLiteral("textures-page-%1x%2-%3x.png").arg(size.width()).arg(size.height()).arg(zoom);
            window.screen()->grabWindow(0).toImage().save(name);
            const std::string at = name.toStdString();

            // The whole default pattern, the bar, and every tool button inside the page.
            const QRect field = pattern->contentsRect();
            EXPECT_GE(field.width(), pattern->fontMetrics().horizontalAdvance(pattern->text())) << at;
            QList<QWidget *> tools = {pattern, page->findChild<QProgressBar *>()};
            // The tools of the draw mode show only while it is on.
            const auto *drawing = page->findChild<DrawingPanel *>();
            for (QToolButton *button : page->findChildren<QToolButton *>())
                if (!button->text().isEmpty() && !drawing->isAncestorOf(button))
                    tools << button;
            EXPECT_GE(tools.size(), 10) << at;
            int top = page->height();
            for (QWidget *tool : tools) {
                ASSERT_NE(tool, nullptr);
                const QRect inPage(tool->mapTo(page, QPoint()), tool->size());
                EXPECT_TRUE(tool->isVisible() && page->rect().contains(inPage)) << at;
                top = std::min(top, inPage.top());
            }
            // The tool rows start right under the grid; zoomed in, the grid takes the height left.
            const int gridBottom = grid->mapTo(page, QPoint(0, grid->height())).y();
            EXPECT_GE(top, gridBottom) << at;
            EXPECT_LE(top - gridBottom, 12) << at;
            if (zoom == 8) {
                EXPECT_GE(grid->height(), page->height() - 3 * pattern->height() - 60) << at;
            }
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    EditorApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
