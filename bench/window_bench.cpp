// The editor's window on the largest sample, offscreen: what one interaction costs until the
// window has painted it, beside copying one frame of the window's pixels. And the start of the
// editor to its first painted window, as a child process offscreen and on a virtual X server,
// beside starting one that only reads the same file.

#include "platform/bitmapfile.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "ui/careditordialog.h"
#include "ui/spritelistpage.h"
#include "ui/spritespage.h"
#include "ui/spritestripview.h"
#include "ui/tilegridview.h"
#include "ui/twnd_editor.h"

#include "timesreporter.h"
#include "ui/editorapplication.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <unistd.h>

namespace {

// Answers the few questions the measured commands ask: the tile import's file, and Cancel (keep the
// tile's palette) for the rest.
class BenchPrompts final : public DecliningPrompts {
public:
    QString file;

    void message(const QString &text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    std::optional<QString> openFileName(FileKind, const QString &, const QString &) override { return file; }
    std::optional<QString> saveFileName(FileKind, const QString &, const QString &) override { return file; }
};

QString writeLargeSample(const QString &folder) {
    StyleDocument doc = makeLargeSampleStyle();
    BenchPrompts prompts;
    SilentProgress progress;
    LineLog log;
    return writeStyle(doc, folder + QStringLiteral("/large.sty"), prompts, progress, log);
}

// Lets the window paint what the interaction changed.
void paintPending() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// An X server of the benchmark's own, on a display that Xvfb picks free and names.
class VirtualXServer {
public:
    VirtualXServer() {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1920x1200x24"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp")});
        // The number comes once the server takes connections.
        while (server_.waitForReadyRead(10000) && !server_.canReadLine()) {
        }
        if (server_.canReadLine())
            display_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine()).trimmed();
    }
    ~VirtualXServer() {
        server_.terminate();
        server_.waitForFinished(5000);
    }
    // Empty when the server did not start.
    const QString &display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

struct Session {
    QTemporaryDir dir;
    QString style = writeLargeSample(dir.path());
    BenchPrompts prompts;
    Twnd_editor window;
    // Started by the first measure that needs it.
    std::unique_ptr<VirtualXServer> xServer;

    Session() {
        window.setPrompts(&prompts);
        window.resize(1280, 960);
        window.show();
        window.opensty(style);
        paintPending();
    }
    QAction *action(QWidget *on, const QString &caption) {
        for (QAction *a : on->findChildren<QAction *>())
            if (a->text() == caption)
                return a;
        throw std::runtime_error("no action " + caption.toStdString());
    }
    // The window's Undo or Redo, whose caption names the step.
    QAction *history(const QString &verb) {
        for (QAction *a : window.findChildren<QAction *>())
            if (a->text().startsWith(verb))
                return a;
        throw std::runtime_error("no " + verb.toStdString());
    }
    QWidget *page(const QString &tab) {
        QTabWidget *pages = window.mainPages();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == tab)
                return pages->widget(i);
        throw std::runtime_error("no page " + tab.toStdString());
    }
    void showPage(const QString &tab) {
        window.mainPages()->setCurrentWidget(page(tab));
        paintPending();
    }
};

Session *session = nullptr;

void copyWindowFrame(benchmark::State &state) {
    const QImage frame(session->window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QImage copy = frame.copy();
        benchmark::DoNotOptimize(copy.bits());
    }
}

// Every visible page in turn; the time is per switch.
void switchPages(benchmark::State &state) {
    QTabWidget *pages = session->window.mainPages();
    std::vector<int> visible;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i))
            visible.push_back(i);
    std::size_t next = 0;
    for (auto _ : state) {
        pages->setCurrentIndex(visible[next++ % visible.size()]);
        paintPending();
    }
}

// A click on a sprite of the page view, alternating between two far apart.
void selectSpriteInPageView(benchmark::State &state) {
    session->showPage(QStringLiteral("Sprites"));
    SpritesPage *sprites = session->window.spritesPage();
    const StyleDocument &doc = session->window.document();
    const std::array<QPoint, 2> points = {spriteRect(doc.SpriteIndex[10]).center(),
                                          spriteRect(doc.SpriteIndex[2900]).center()};
    int k = 0;
    for (auto _ : state) {
        QTest::mouseClick(sprites->strip(), Qt::LeftButton, {}, points[k++ % 2]);
        paintPending();
    }
}

void scrollSpriteList(benchmark::State &state) {
    session->showPage(QStringLiteral("sprite list"));
    QScrollBar *bar = session->window.spriteListPage()->list()->verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        if (bar->value() == bar->maximum())
            bar->setValue(0);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        paintPending();
    }
}

void openCloseCarEditor(benchmark::State &state) {
    session->showPage(QStringLiteral("Sprites"));
    SpritesPage *sprites = session->window.spritesPage();
    const StyleDocument &doc = session->window.document();
    sprites->selectByNumber(doc.CarInfoTable[0].sprite);
    QAction *editCar = session->action(sprites, QStringLiteral("edit car"));
    Twnd_caredit *editor = session->window.carEditor();
    for (auto _ : state) {
        QTimer::singleShot(0, editor, [editor] {
            editor->repaint();
            editor->reject();
        });
        editCar->trigger();
        paintPending();
    }
}

void undoTileImport(benchmark::State &state) {
    session->showPage(QStringLiteral("Textures"));
    QWidget *textures = session->page(QStringLiteral("Textures"));
    session->window.findChild<TileGridView *>()->setCurrentCell(3, 5);
    const QString tile = session->dir.filePath(QStringLiteral("tile"));
    session->prompts.file = tile;
    session->action(textures, QStringLiteral("export"))->trigger();
    QImage painted = loadBitmap(tile + QStringLiteral(".bmp")).image;
    painted.setPixel(1, 1,
                     painted.pixelIndex(2, 2) == painted.pixelIndex(1, 1) ? painted.pixelIndex(0, 0)
                                                                          : painted.pixelIndex(2, 2));
    saveBitmap8(tile + QStringLiteral(".bmp"), painted);
    session->prompts.file = tile + QStringLiteral(".bmp");
    session->action(textures, QStringLiteral("import"))->trigger();
    paintPending();
    QAction *undo = session->history(QStringLiteral("Undo"));
    QAction *redo = session->history(QStringLiteral("Redo"));
    for (auto _ : state) {
        undo->trigger();
        paintPending();
        state.PauseTiming();
        redo->trigger();
        paintPending();
        state.ResumeTiming();
    }
}

// One step in or out, alternating between 3x and 4x (where the pixel grid appears), around the
// middle of the view.
void zoomSpritePage(benchmark::State &state) {
    session->showPage(QStringLiteral("Sprites"));
    SpritesPage *sprites = session->window.spritesPage();
    sprites->selectByNumber(1500);
    paintPending();
    const QPoint middle = sprites->strip()->rect().center();
    int k = 0;
    for (auto _ : state) {
        sprites->setZoom(3 + k++ % 2, middle);
        paintPending();
    }
    sprites->setZoom(1);
}

void zoomTextureGrid(benchmark::State &state) {
    session->showPage(QStringLiteral("Textures"));
    TileGridView *grid = session->window.findChild<TileGridView *>();
    const QPoint middle = grid->viewport()->rect().center();
    int k = 0;
    for (auto _ : state) {
        grid->setZoom(3 + k++ % 2, middle);
        paintPending();
    }
    grid->setZoom(1);
}

// A damaged file of 8 MiB: a style header, then zeros, which read as a million empty chunks.
QString writeDamagedFile() {
    QByteArray damaged(8 << 20, '\0');
    damaged.replace(0, 6, QByteArray("GBST\xbc\x02", 6));
    const QString path = session->dir.filePath(QStringLiteral("zeros.sty"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(damaged) != damaged.size())
        return QString();
    return path;
}

void readDamagedFile(benchmark::State &state) {
    const QString path = writeDamagedFile();
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read");
        benchmark::DoNotOptimize(file.readAll().constData());
    }
}

void openDamagedFile(benchmark::State &state) {
    const QString path = writeDamagedFile();
    for (auto _ : state) {
        session->window.opensty(path);
        paintPending();
    }
    session->window.opensty(session->style);
}

// The child's part: the editor's own start (as main() does it), until the window has painted the
// opened style. Leaves without tearing down, as the measured start ends there.
int startChild(int argc, char **argv) {
    EditorApplication app(argc, argv);
    Twnd_editor window;
    window.show();
    window.openArgument({QString(), QString::fromLocal8Bit(argv[2])});
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        std::fflush(stdout);
        _exit(0);
    });
    return QApplication::exec();
}

int readChild(char **argv) {
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    benchmark::DoNotOptimize(file.readAll().constData());
    _exit(0);
}

void runChild(benchmark::State &state, const char *mode,
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
    const QString self = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(self, {QString::fromLatin1(mode), session->style});
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            state.SkipWithError("the child did not finish");
    }
}

void startEditor(benchmark::State &state) {
    runChild(state, "--start-child");
}
void startEditorOnX(benchmark::State &state) {
    if (!session->xServer)
        session->xServer = std::make_unique<VirtualXServer>();
    if (session->xServer->display().isEmpty()) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), session->xServer->display());
    runChild(state, "--start-child", environment);
}
void startReader(benchmark::State &state) {
    runChild(state, "--read-child");
}

void printRatios(const TimesReporter &reporter) {
    const double frame = reporter.seconds("copy window frame");
    const auto row = [&](const char *measure, const char *name) {
        printRow(measure, reporter.seconds(name) / frame, "copying one frame of the window",
                 duration(reporter.seconds(name)), "under 16 ms");
    };
    row("switch to another page of the window", "switch pages");
    row("select a sprite in the page view", "select sprite in page view");
    row("scroll the sprite list by one page", "scroll sprite list");
    row("open and close the car editor", "open and close car editor");
    row("undo a tile import in the window", "undo tile import");
    row("one zoom step of the sprite page view", "zoom sprite page");
    row("one zoom step of the texture grid", "zoom texture grid");
    printRow("open an 8 MiB file of a million empty chunks in the window",
             reporter.seconds("open damaged file") / reporter.seconds("read damaged file"),
             "reading the same file", duration(reporter.seconds("open damaged file")), "under 2 s");
    printRow("start the editor on the largest style file until its window is painted",
             reporter.seconds("start editor") / reporter.seconds("start reader"),
             "starting a program that reads the same file", duration(reporter.seconds("start editor")),
             "under 300 ms");
    printRow("start the editor on the largest style file until its window is painted on a virtual X server",
             reporter.seconds("start editor on X") / reporter.seconds("start reader"),
             "starting a program that reads the same file", duration(reporter.seconds("start editor on X")),
             "under 300 ms");
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::string(argv[1]) == "--start-child")
        return startChild(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--read-child")
        return readChild(argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Session here;
    session = &here;
    return runBenchmarks(argc, argv,
                         {{"copy window frame", copyWindowFrame, benchmark::kMicrosecond},
                          {"switch pages", switchPages, benchmark::kMillisecond},
                          {"select sprite in page view", selectSpriteInPageView, benchmark::kMillisecond},
                          {"scroll sprite list", scrollSpriteList, benchmark::kMillisecond},
                          {"open and close car editor", openCloseCarEditor, benchmark::kMillisecond},
                          {"undo tile import", undoTileImport, benchmark::kMillisecond},
                          {"zoom sprite page", zoomSpritePage, benchmark::kMillisecond},
                          {"zoom texture grid", zoomTextureGrid, benchmark::kMillisecond},
                          {"read damaged file", readDamagedFile, benchmark::kMillisecond},
                          {"open damaged file", openDamagedFile, benchmark::kMillisecond},
                          {"start editor", startEditor, benchmark::kMillisecond},
                          {"start editor on X", startEditorOnX, benchmark::kMillisecond},
                          {"start reader", startReader, benchmark::kMillisecond}},
                         printRatios);
}
