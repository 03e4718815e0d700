#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "ui/editorapplication.h"
#include "ui/pedremapview.h"
#include "ui/tilegridview.h"
#include "ui/twnd_adjust.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct Editor : ::testing::Test {
    Editor() {
        makeEveryPage(window);
        StyleDocument sample = makeSampleStyle();
        SilentProgress progress;
        LineLog log;
        samplePath = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
    }

    // The first action with the caption, on the page whose tab has `tab` when one is named.
    QAction *action(const QString &caption, const QString &tab = QString()) {
        QWidget *on = &window;
        for (int i = 0; i < window.mainPages()->count(); ++i)
            if (window.mainPages()->tabText(i) == tab)
                on = window.mainPages()->widget(i);
        return findCaptioned<QAction>(on, caption);
    }

    TestDir dir;
    ScriptedPrompts prompts;
    QString samplePath;
    Twnd_editor window;
};

TEST_F(Editor, OpensTheFirstArgumentAndShowsItsPalettes) {
    window.openArgument({"vyr2-sty-tool", samplePath});
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - sample.sty[*]"));
    EXPECT_TRUE(window.mainPages()->isEnabled());
    EXPECT_EQ(window.mainPages()->tabText(window.mainPages()->currentIndex()), QStringLiteral("Sprites"));
    EXPECT_EQ(window.clut1().width(), window.document().PhysicalPaletteCount);
    EXPECT_EQ(window.clut1().height(), 256);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(window.isModified());
}

TEST_F(Editor, ACarScriptThatIsNoRegularFileIsSkippedWithALogLine) {
    ASSERT_EQ(QProcess::execute("mkfifo", {dir.path("nyc.gci")}), 0);
    window.opensty(samplePath);
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_TRUE(window.findChild<QPlainTextEdit *>("log")->toPlainText().contains(
        QStringLiteral("\"%1\" is no regular file; the car script was not read.").arg(dir.path("nyc.gci"))));
    EXPECT_TRUE(window.document().CarScript.isEmpty());
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(Editor, ANonStyleArgumentIsRefusedAndTheWindowBecomesReady) {
    writeWholeFileAtomic(dir.path("notes.txt"), "hello");
    window.openArgument({"vyr2-sty-tool", dir.path("notes.txt")});
    EXPECT_EQ(prompts.messages(), QStringList{"punk don't fuck with me! this ain't vyr2 style file!"});
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_TRUE(window.mainPages()->isEnabled());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool")) << "the caption names no refused file";
    EXPECT_EQ(window.document(), StyleDocument());
}

TEST_F(Editor, OpenAndSaveAsThroughTheDialogsKeepEveryByte) {
    prompts.queueText(samplePath);
    action("open")->trigger();
    ASSERT_EQ(window.state(), Twnd_editor::State::Ready);
    prompts.queueText(dir.path("copy"));
    action("save as")->trigger();
    EXPECT_EQ(readWholeFile(dir.path("copy.sty")), readWholeFile(samplePath));
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    // A cancelled dialog changes nothing.
    prompts.queueText(std::nullopt);
    action("open")->trigger();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - copy.sty[*]"));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Editor, AFailingSaveIsReportedAndTheWindowStaysReady) {
    window.opensty(samplePath);
    prompts.queueText(dir.path("no/such/folder/x.sty"));
    action("save as")->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().first().endsWith(" had occured while writing: SPEC"));
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
}

// Runs "brightness" with the red offset set to `red`, closing the dialog with OK or Cancel.
void adjustRed(Editor &editor, int red, bool ok) {
    QTimer::singleShot(0, [&editor, red, ok] {
        Twnd_adjust *adjust = editor.window.adjustDialog();
        adjust->findChild<QSlider *>(QStringLiteral("RedTrackBar"))->setValue(red);
        ok ? adjust->accept() : adjust->reject();
    });
    editor.action("brightness")->trigger();
}

TEST_F(Editor, BrightnessChangesEveryPaletteOnlyWhenConfirmed) {
    window.opensty(samplePath);
    const StyleDocument before = window.document();
    adjustRed(*this, 255, false);
    EXPECT_EQ(window.document(), before);
    EXPECT_FALSE(window.isModified());

    adjustRed(*this, 255, true);
    EXPECT_TRUE(window.isModified());
    const int count = window.document().PhysicalPaletteCount;
    EXPECT_EQ(qRed(window.clut1().pixel(count - 1, 255)), 255);
    const auto *store = reinterpret_cast<const uchar *>(window.document().PhysicalPalettes.constData());
    EXPECT_EQ(store[physicalColourOffset(count - 1, 255) + 2], 255);
    const auto *old = reinterpret_cast<const uchar *>(before.PhysicalPalettes.constData());
    EXPECT_EQ(store[physicalColourOffset(count - 1, 255) + 1], old[physicalColourOffset(count - 1, 255) + 1]);
    EXPECT_EQ(store[physicalColourOffset(count - 1, 255) + 3], old[physicalColourOffset(count - 1, 255) + 3]);
}

TEST_F(Editor, UnsavedChangesAreAskedAboutBeforeTheyCouldBeLost) {
    window.opensty(samplePath);
    const StyleDocument opened = window.document();
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_TRUE(close.isAccepted()); // only opened: nothing to ask
    EXPECT_TRUE(prompts.shown().isEmpty());

    adjustRed(*this, 40, true);
    prompts.queue(Answer::Cancel);
    QCloseEvent cancelled;
    QCoreApplication::sendEvent(&window, &cancelled);
    EXPECT_FALSE(cancelled.isAccepted());
    EXPECT_EQ(prompts.shown().last(),
              QStringLiteral("The style file \"sample.sty\" has changes that were not saved."));

    // Save: the save dialog runs and the changes are kept on disk.
    prompts.queue(Answer::Yes);
    prompts.queueText(dir.path("saved.sty"));
    QCloseEvent saved;
    QCoreApplication::sendEvent(&window, &saved);
    EXPECT_TRUE(saved.isAccepted());
    EXPECT_FALSE(window.isModified());
    EXPECT_NE(readWholeFile(dir.path("saved.sty")), readWholeFile(samplePath));

    // Discard: opening another file goes ahead without saving.
    adjustRed(*this, -40, true);
    prompts.queue(Answer::No);
    prompts.queueText(samplePath);
    action("open")->trigger();
    EXPECT_FALSE(window.isModified());
    EXPECT_EQ(window.document(), opened);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Editor, DialogsExistFromTheStartAndCommandsNeedAnOpenStyle) {
    EXPECT_NE(window.adjustDialog(), nullptr);
    EXPECT_NE(window.clutDialog(), nullptr);
    EXPECT_FALSE(action("brightness")->isEnabled());
    EXPECT_FALSE(action("edit car")->isEnabled());
    window.opensty(samplePath);
    EXPECT_TRUE(action("brightness")->isEnabled());
    EXPECT_TRUE(action("open GCI")->isEnabled());
    // Sprite 0, selected after loading, is a car sprite.
    EXPECT_TRUE(action("edit car")->isEnabled());
}

TEST_F(Editor, AStyleWithoutPalettesSaysWhyAndOffersThePaletteImport) {
    const StyleDocument sample = makeSampleStyle();
    const std::map<QByteArray, QByteArray> chunks = styleChunks(readWholeFile(samplePath));
    std::vector<Chunk> withoutPalettes;
    for (const auto &[tag, payload] : chunks)
        if (tag != "PPAL")
            withoutPalettes.push_back({tag.constData(), payload});
    writeWholeFileAtomic(dir.path("bare.sty"), styleFile(withoutPalettes));
    saveBitmap24(dir.path("table.bmp"), makeClut1(sample));

    window.opensty(dir.path("bare.sty"));
    EXPECT_EQ(window.document().PhysicalPaletteCount, 0);
    const auto pageText = [&](const QString &name) {
        return window.findChild<QPlainTextEdit *>(name)->toPlainText();
    };
    EXPECT_TRUE(pageText("log").contains(NoPalettesMessage));
    EXPECT_EQ(pageText("info"), NoPalettesMessage);
    EXPECT_FALSE(action(">>", "Palettes")->isEnabled());
    EXPECT_FALSE(action("Export", "Palettes")->isEnabled());
    ASSERT_TRUE(action("Import", "Palettes")->isEnabled());

    prompts.queueText(dir.path("table.bmp"));
    action("Import", "Palettes")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, sample.PhysicalPaletteCount);
    EXPECT_EQ(window.document().PhysicalPalettes, sample.PhysicalPalettes);
    EXPECT_TRUE(action(">>", "Palettes")->isEnabled());
    EXPECT_TRUE(action("brightness", "Palettes")->isEnabled());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Editor, PaletteBlocksStepToWholePagesAndRemovedPalettesShowBlack) {
    StyleDocument hundred = makeSampleStyle();
    hundred.PhysicalPaletteCount = 100;
    SilentProgress progress;
    LineLog log;
    window.opensty(writeStyle(hundred, dir.path("hundred.sty"), prompts, progress, log));
    ASSERT_EQ(window.document().PhysicalPaletteCount, 100);
    const auto blackColumns = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            for (int y = 0; y < 256; ++y)
                if (window.clut1().pixel(x, y) != qRgb(0, 0, 0))
                    return false;
        return true;
    };
    prompts.queue(Answer::Yes);
    action(">>", "Palettes")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, 128);
    EXPECT_EQ(window.clut1().width(), 128);
    // Sprites pointing past 64 would show black: the window asks once more, and No keeps them.
    int pastSixtyFour = 0, blackSprites = 0;
    for (int v = 0; v < hundred.PaletteIndexCount(); ++v) {
        const bool past = hundred.PaletteIndex[std::size_t(v)] >= 64;
        pastSixtyFour += past;
        blackSprites +=
            past && v >= hundred.PaletteCounts[0] && v < hundred.PaletteCounts[0] + hundred.spriteCount();
    }
    prompts.queue(Answer::Yes);
    prompts.queue(Answer::No);
    action("<<", "Palettes")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, 128);
    EXPECT_EQ(
        prompts.shown().last(),
        QStringLiteral("%1 virtual palettes would point past the 64 physical palettes the file then keeps: "
                       "0 tiles and %2 sprites would show black. Go on?")
            .arg(pastSixtyFour)
            .arg(blackSprites));
    prompts.queue(Answer::Yes);
    prompts.queue(Answer::Yes);
    action("<<", "Palettes")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, 64);
    prompts.queue(Answer::Yes);
    action(">>", "Palettes")->trigger();
    ASSERT_EQ(window.clut1().width(), 128);
    EXPECT_TRUE(blackColumns(64, 128));
    EXPECT_FALSE(blackColumns(0, 64));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

// Stands for any command whose error escapes its handler.
class FailingCommand : public QObject {
public:
    bool event(QEvent *) override { throw EditorError(QStringLiteral("disk on fire")); }
};

TEST_F(Editor, AnEscapedErrorIsShownAndTheControlsComeBack) {
    window.opensty(samplePath);
    auto *app = static_cast<EditorApplication *>(QCoreApplication::instance());
    app->setErrorHandler([this](const QString &text) { window.reportError(text); });
    FailingCommand command;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&command, &event));
    app->setErrorHandler(nullptr);
    EXPECT_EQ(prompts.messages(), QStringList{"disk on fire"});
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_TRUE(action("save as")->isEnabled());
}

TEST_F(Editor, StartsAtItsSizeWithEveryPageInOrder) {
    window.show();
    EXPECT_EQ(window.size(), QSize(837, 462));
    EXPECT_EQ(window.minimumHeight(), 390);
    QStringList tabs;
    for (int i = 0; i < window.mainPages()->count(); ++i)
        if (window.mainPages()->isTabVisible(i))
            tabs.append(window.mainPages()->tabText(i));
    EXPECT_EQ(tabs, QStringList({"Sprites", "Textures", "Surfaces", "sprite list", "Palettes",
                                 "GCI raw editor", "Log"}));
}

TEST_F(Editor, DroppingAStyleFileOpensIt) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(samplePath)});
    EXPECT_TRUE(window.openDropped(&mime));
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - sample.sty[*]"));

    mime.setUrls({QUrl::fromLocalFile(dir.path("picture.bmp"))});
    EXPECT_FALSE(window.openDropped(&mime));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - sample.sty[*]"));
}

TEST_F(Editor, PaletteListCommandsChangeTheDocumentAndItsViews) {
    window.opensty(samplePath);
    auto *palindex = window.findChild<QListWidget *>(QStringLiteral("palindex"));
    ASSERT_EQ(palindex->count(), window.document().PaletteIndexCount());
    palindex->setCurrentRow(2);
    palindex->item(4)->setSelected(true);
    prompts.queueText(QStringLiteral("9"));
    for (QPushButton *b : window.findChildren<QPushButton *>())
        if (b->text() == QStringLiteral("remap palindexes"))
            b->click();
    EXPECT_EQ(window.document().PaletteIndex[2], 9);
    EXPECT_EQ(window.document().PaletteIndex[4], 9);
    EXPECT_TRUE(window.isModified());

    prompts.queue(Answer::Yes);
    action(">>")->trigger();
    EXPECT_EQ(window.document().PhysicalPaletteCount, 192);
    EXPECT_EQ(window.clut1().width(), 192);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Editor, APressOnThePalettePictureNamesThePedRemap) {
    window.opensty(samplePath);
    QWidget *clut1 = window.mainPages()->findChild<QWidget *>(QStringLiteral("clut1"));
    QTest::mousePress(clut1, Qt::LeftButton, Qt::NoModifier, QPoint(5, 40));
    EXPECT_EQ(window.findChild<PedRemapView *>()->remap(), 5);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(Editor, PaletteFilesGoOutAndComeBackWithoutChangingAByte) {
    window.opensty(samplePath);
    const StyleDocument opened = window.document();
    prompts.queueText(dir.path("table"));
    action("Export")->trigger();
    prompts.queueText(dir.path("table.bmp"));
    action("Import")->trigger();
    prompts.queueText(dir.path("five"));
    prompts.queueText(QStringLiteral("5"));
    action("Export .pal")->trigger();
    prompts.queueText(dir.path("five.pal"));
    prompts.queueText(QStringLiteral("5"));
    action("Import .pal")->trigger();
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('|').toStdString();
    EXPECT_TRUE(prompts.allAnswersUsed());
    EXPECT_EQ(window.document(), opened);
    EXPECT_EQ(window.clut1(), makeClut1(opened));
}

TEST_F(Editor, AFileThatCannotBeReadIsReportedAndTheWindowBecomesReady) {
    QDir().mkdir(dir.path("folder.sty"));
    window.opensty(dir.path("folder.sty"));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().first().contains(QStringLiteral("folder.sty")));
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
}

TEST_F(Editor, TileButtonsWorkOnTheSelectedCell) {
    window.opensty(samplePath);
    const StyleDocument opened = window.document();
    window.findChild<TileGridView *>()->setCurrentCell(5, 2);
    prompts.queueText(dir.path("tile"));
    action("export", "Textures")->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("tile.bmp")));
    prompts.queueText(dir.path("tile.bmp"));
    prompts.queue(Answer::Cancel); // keep the tile's palette
    action("import", "Textures")->trigger();
    EXPECT_EQ(window.document(), opened);

    prompts.queue(Answer::Yes);
    action("add page", "Textures")->trigger();
    EXPECT_EQ(window.document().tilePageCount(), opened.tilePageCount() + 1);
    EXPECT_EQ(window.findChild<TileGridView *>()->columnCount(), 4 * window.document().tilePageCount());
    EXPECT_TRUE(window.isModified());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
