// Drawing in the editor's window on the largest sample, offscreen: each pencil point of a stroke
// at 4x until the canvas has painted it, a flood fill of a tile, and a stroke on a delta layer
// with its encoding and undo step, beside copying one frame of the window's pixels.

#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "ui/deltaspage.h"
#include "ui/drawingcanvas.h"
#include "ui/drawingpanel.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"
#include "ui/twnd_editor.h"

#include "timesreporter.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class BenchPrompts final : public DecliningPrompts {
public:
    void message(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
};

void paintPending() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct Session {
    QTemporaryDir dir;
    BenchPrompts prompts;
    Twnd_editor window;

    Session() {
        StyleDocument doc = makeLargeSampleStyle();
        SilentProgress progress;
        LineLog log;
        const QString style =
            writeStyle(doc, dir.filePath(QStringLiteral("large.sty")), prompts, progress, log);
        window.setPrompts(&prompts);
        window.resize(1280, 960);
        window.show();
        window.opensty(style);
        paintPending();
    }
    QWidget *page(const QString &tab) {
        QTabWidget *pages = window.mainPages();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == tab)
                return pages->widget(i);
        throw std::runtime_error("no page " + tab.toStdString());
    }
    // Shows `on` with its draw mode on and returns its panel at `zoom`.
    DrawingPanel *drawOn(QWidget *on, DrawingPanel *panel, int zoom) {
        window.mainPages()->setCurrentWidget(on);
        panel->drawAction()->setChecked(true);
        panel->setZoom(zoom);
        paintPending();
        return panel;
    }
};

Session *session = nullptr;

QPoint centreOf(const DrawingCanvas *canvas, QPoint pixel) {
    return pixel * canvas->zoom() + QPoint(canvas->zoom() / 2, canvas->zoom() / 2);
}

void copyWindowFrame(benchmark::State &state) {
    const QImage frame(session->window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QImage copy = frame.copy();
        benchmark::DoNotOptimize(copy.bits());
    }
}

// Strokes of 100 points across a sprite at 4x; the time is per point until it is painted. The
// release that stores each stroke is not timed.
void pencilPoint(benchmark::State &state) {
    SpritesPage *sprites = session->window.spritesPage();
    sprites->selectByNumber(1500);
    DrawingPanel *panel = session->drawOn(sprites, sprites->drawing(), 4);
    panel->setTool(DrawTool::Pencil);
    DrawingCanvas *canvas = panel->canvas();
    const QSize size = canvas->picture().size();
    constexpr int Points = 100;
    int k = 0;
    for (auto _ : state) {
        if (k % Points == 0) {
            state.PauseTiming();
            QTest::mousePress(canvas, Qt::LeftButton, {}, centreOf(canvas, QPoint(1, 1)));
            state.ResumeTiming();
        }
        const QPoint pixel((k * 7) % size.width(), (k * 3) % size.height());
        QTest::mouseMove(canvas, centreOf(canvas, pixel));
        canvas->repaint();
        if (++k % Points == 0) {
            state.PauseTiming();
            QTest::mouseRelease(canvas, Qt::LeftButton, {}, centreOf(canvas, pixel));
            paintPending();
            state.ResumeTiming();
        }
    }
}

// A fill of the whole tile, with its undo step and the redraw, alternating two indexes.
void fillTile(benchmark::State &state) {
    QWidget *textures = session->page(QStringLiteral("Textures"));
    session->window.findChild<TileGridView *>()->setCurrentCell(5, 1);
    DrawingPanel *panel = session->drawOn(textures, session->window.tileDrawing(), 4);
    panel->setTool(DrawTool::Fill);
    DrawingCanvas *canvas = panel->canvas();
    if (canvas->picture().isNull())
        state.SkipWithError("no tile to draw on");
    // A single index first, so that each fill takes all 64*64 pixels.
    panel->setTool(DrawTool::FilledRectangle);
    QTest::mousePress(canvas, Qt::LeftButton, {}, centreOf(canvas, QPoint(1, 1)));
    QTest::mouseMove(canvas, centreOf(canvas, QPoint(-5, -5)));
    QTest::mouseMove(canvas, centreOf(canvas, QPoint(70, 70)));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, centreOf(canvas, QPoint(70, 70)));
    panel->setTool(DrawTool::Fill);
    int k = 0;
    for (auto _ : state) {
        const Qt::MouseButton button = k++ % 2 ? Qt::LeftButton : Qt::RightButton;
        QTest::mouseClick(canvas, button, {}, centreOf(canvas, QPoint(32, 32)));
        paintPending();
    }
}

// A stroke of 20 points on a delta layer of a car sprite, then its encoding and undo step.
void deltaStroke(benchmark::State &state) {
    SpritesPage *sprites = session->window.spritesPage();
    session->window.mainPages()->setCurrentWidget(sprites);
    sprites->selectByNumber(2);
    for (QAction *action : sprites->findChildren<QAction *>())
        if (action->text() == QStringLiteral("Deltas"))
            action->trigger();
    DeltasPage *deltas = session->window.deltasPage();
    DrawingPanel *panel = session->drawOn(deltas, deltas->drawing(), 4);
    panel->setTool(DrawTool::Pencil);
    panel->selectDelta(0);
    DrawingCanvas *canvas = panel->canvas();
    const QSize size = canvas->picture().size();
    int k = 0;
    for (auto _ : state) {
        const int row = k++ % size.height();
        QTest::mousePress(canvas, k % 2 ? Qt::LeftButton : Qt::RightButton, {},
                          centreOf(canvas, QPoint(1, row)));
        for (int x = 1; x <= 20; ++x)
            QTest::mouseMove(canvas, centreOf(canvas, QPoint(x % size.width(), row)));
        QTest::mouseRelease(canvas, k % 2 ? Qt::LeftButton : Qt::RightButton, {},
                            centreOf(canvas, QPoint(20, row)));
        paintPending();
    }
}

void printRatios(const TimesReporter &reporter) {
    const double frame = reporter.seconds("copy window frame");
    const auto row = [&](const char *measure, const char *name, const char *aim) {
        printRow(measure, reporter.seconds(name) / frame, "copying one frame of the window",
                 duration(reporter.seconds(name)), aim);
    };
    row("one pencil point at 4x on a sprite of the largest style", "pencil point", "under 16 ms");
    row("flood fill of a 64*64 tile, stored as an undo step", "fill tile", "under 16 ms");
    row("a 20-point stroke on a delta layer, encoded as an undo step", "delta stroke", "under 16 ms");
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Session here;
    session = &here;
    return runBenchmarks(argc, argv,
                         {{"copy window frame", copyWindowFrame, benchmark::kMicrosecond},
                          {"pencil point", pencilPoint, benchmark::kMicrosecond},
                          {"fill tile", fillTile, benchmark::kMillisecond},
                          {"delta stroke", deltaStroke, benchmark::kMillisecond}},
                         printRatios);
}
