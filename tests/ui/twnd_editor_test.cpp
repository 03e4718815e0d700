#include "twnd_editor.h"

#include "fileio.h"
#include "log.h"
#include "progress.h"
#include "samplestyle.h"
#include "scriptedprompts.h"
#include "stylewriter.h"
#include "tempdir.h"

#include <QAction>
#include <QStackedWidget>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

struct Editor : ::testing::Test {
    Editor() {
        StyleDocument sample = makeSampleStyle();
        SilentProgress progress;
        LineLog log;
        samplePath = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
    }

    QAction *action(const QString &caption) {
        for (QAction *a : window.findChildren<QAction *>())
            if (a->text() == caption)
                return a;
        ADD_FAILURE() << "no action " << caption.toStdString();
        return nullptr;
    }

    TestDir dir;
    ScriptedPrompts prompts;
    QString samplePath;
    Twnd_editor window;
};

TEST_F(Editor, OpensTheFirstArgumentAndShowsItsPalettes) {
    window.openArgument({"vyr2-sty-tool", samplePath});
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - sample.sty"));
    EXPECT_TRUE(window.mainPages()->isEnabled());
    EXPECT_EQ(window.mainPages()->tabText(window.mainPages()->currentIndex()), QStringLiteral("Sprites"));
    EXPECT_EQ(window.clut1().width(), window.document().PhysicalPaletteCount);
    EXPECT_EQ(window.clut1().height(), 256);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(window.isModified());
}

TEST_F(Editor, AMissingArgumentLeavesTheEmptyWindowWithoutAMessage) {
    window.openArgument({"vyr2-sty-tool", dir.path("missing.sty")});
    EXPECT_EQ(window.state(), Twnd_editor::State::Empty);
    EXPECT_FALSE(window.mainPages()->isEnabled());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool"));
    EXPECT_TRUE(action("open")->isEnabled());
    EXPECT_TRUE(prompts.shown().isEmpty());
}

TEST_F(Editor, ANonStyleArgumentIsRefusedAndTheWindowBecomesReady) {
    writeWholeFileAtomic(dir.path("notes.txt"), "hello");
    window.openArgument({"vyr2-sty-tool", dir.path("notes.txt")});
    EXPECT_EQ(prompts.messages(), QStringList{"punk don't fuck with me! this ain't vyr2 style file!"});
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_TRUE(window.mainPages()->isEnabled());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - notes.txt"));
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
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - sample.sty"));
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

} // namespace
