#include "ui/twnd_editor.h"

#include "everypage.h"
#include "findcaptioned.h"
#include "platform/forwardingprompts.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/spritespage.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <new>

namespace {

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *watched) { watched->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The user's answers, except that the questions dialogs answer (the sprite import's palette question,
// the palette picker) run out of memory.
class OutOfMemoryInDialogs final : public ForwardingPrompts {
public:
    using ForwardingPrompts::ForwardingPrompts;
    std::optional<QString> pickPalette(const QString &) override { throw std::bad_alloc(); }
    SpriteImportChoice importChoice() override { throw std::bad_alloc(); }
};

struct Runner : ::testing::Test {
    Runner() {
        makeEveryPage(window);
        SilentProgress progress;
        LineLog log;
        StyleDocument sample = makeSampleStyle();
        const QString path = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.opensty(path);
        opened = window.document();
    }
    void click(const QString &caption) {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == caption)
                return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    // The window's part of a failed change: the document as it was, no step, the reason shown.
    void expectUnchanged(const QString &reason) {
        EXPECT_EQ(window.document(), opened);
        EXPECT_EQ(window.history().stack().count(), 0);
        EXPECT_FALSE(window.isWindowModified());
        ASSERT_FALSE(prompts.messages().isEmpty());
        EXPECT_TRUE(prompts.messages().last().contains(reason))
            << prompts.messages().join('\n').toStdString();
    }

    TestDir dir;
    ScriptedPrompts prompts;
    Twnd_editor window;
    StyleDocument opened;
};

TEST_F(Runner, AnOperationThatFailsPartWayLeavesTheDocumentAsItWas) {
    EXPECT_FALSE(window.runner().run(QStringLiteral("edit car"), [](StyleDocument &doc) {
        doc.CarInfoTable[0].num_doors = 3;
        doc.CarScript << QStringLiteral("half written");
        throw std::bad_alloc();
    }));
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    // The next change starts from the document as it was.
    EXPECT_TRUE(window.runner().run(QStringLiteral("edit car"),
                                    [](StyleDocument &doc) { doc.CarInfoTable[0].num_doors = 3; }));
    EXPECT_EQ(window.history().stack().count(), 1);
    EXPECT_EQ(window.document().CarScript, opened.CarScript);
}

TEST_F(Runner, AFailedImportFromTheSpritesPageRecordsNothing) {
    prompts.queueText(dir.path("missing.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("import"))->trigger();
    expectUnchanged(QStringLiteral("missing.bmp"));

    // Running out of memory in the page's command is reported the same way, not left to unwind
    // through the event loop.
    prompts.queueText(dir.path("sprite.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("export"))->trigger();
    OutOfMemoryInDialogs failing(prompts);
    window.setPrompts(&failing);
    prompts.queueText(dir.path("sprite.bmp"));
    findCaptioned<QAction>(window.spritesPage(), QStringLiteral("import"))->trigger();
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Runner, RunningOutOfMemoryInTheDialogOfACommandRecordsNothing) {
    QByteArray text = "JASC-PAL\r\n0100\r\n256\r\n";
    for (int c = 0; c < 256; ++c)
        text += "1 2 3\r\n";
    QFile file(dir.path("colours.pal"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    OutOfMemoryInDialogs failing(prompts);
    window.setPrompts(&failing);
    prompts.queueText(dir.path("colours.pal"));
    findCaptioned<QAction>(&window, QStringLiteral("Import .pal"))->trigger();
    expectUnchanged(QStringLiteral("There is not enough memory for this command."));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(Runner, APaletteViewRedrawsOnlyForChangesOfPalettes) {
    QWidget *clut = window.mainPages()->findChild<QWidget *>(QStringLiteral("clut1"));
    ASSERT_NE(clut, nullptr);
    window.mainPages()->setCurrentWidget(window.mainPages()->widget(4));
    ASSERT_EQ(window.mainPages()->tabText(4), QStringLiteral("Palettes"));
    QTest::qWait(50);
    PaintCounter counter(clut);

    click(QStringLiteral("mirror all door locations"));
    QTest::qWait(50);
    ASSERT_NE(window.document().CarInfoTable, opened.CarInfoTable);
    EXPECT_EQ(counter.paints, 0);

    click(QStringLiteral("View unused palettes"));
    QTest::qWait(50);
    ASSERT_NE(window.document().PhysicalPalettes, opened.PhysicalPalettes);
    EXPECT_GT(counter.paints, 0);
}

} // namespace
