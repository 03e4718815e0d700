#include "twnd_editor.h"

#include "carrecords.h"
#include "carscript.h"
#include "fileio.h"
#include "log.h"
#include "progress.h"
#include "samplestyle.h"
#include "scriptedprompts.h"
#include "spritespage.h"
#include "stylewriter.h"
#include "tempdir.h"
#include "tvyr_sprite.h"
#include "twnd_caredit.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The sample style with its nyc.gci beside it, opened in the window.
struct CarWindow : ::testing::Test {
    CarWindow() {
        sample = makeSampleStyle();
        SilentProgress progress;
        LineLog log;
        QDir().mkdir(dir.path("game"));
        stylePath = writeStyle(sample, dir.path("game/sample.sty"), prompts, progress, log);
        script = makeSampleCarScript(sample);
        writeWholeFileAtomic(dir.path("game/nyc.gci"), carScriptBytes(script));
        window.setPrompts(&prompts);
        window.opensty(stylePath);
    }

    QAction *action(const QString &caption) {
        for (QAction *a : window.findChildren<QAction *>())
            if (a->text() == caption)
                return a;
        ADD_FAILURE() << "no action " << caption.toStdString();
        return nullptr;
    }
    QPushButton *button(const QString &caption) {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == caption)
                return b;
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }
    QPlainTextEdit *scriptPage() { return window.findChild<QPlainTextEdit *>(QStringLiteral("gcitext")); }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample;
    QStringList script;
    QString stylePath;
    Twnd_editor window;
};

TEST_F(CarWindow, TheScriptBesideTheStyleIsLoadedAndKeptForAFolderWithoutOne) {
    EXPECT_EQ(window.document().CarScript, script);
    EXPECT_EQ(scriptPage()->toPlainText(), script.join('\n'));
    EXPECT_FALSE(window.isScriptModified());

    QDir().mkdir(dir.path("other"));
    ASSERT_TRUE(QFile::copy(stylePath, dir.path("other/plain.sty")));
    window.opensty(dir.path("other/plain.sty"));
    EXPECT_EQ(window.document().CarScript, script);
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(CarWindow, EditCarOnTheSelectedSpriteStoresTheRecordAndTheScript) {
    const int bus = 3;
    window.spritesPage()->selectByNumber(bus);
    Twnd_caredit *editor = window.carEditor();
    QTimer::singleShot(0, editor, [&] {
        editor->findChild<QPushButton *>(QStringLiteral("btn_adddoor"))->click();
        editor->findChild<QSlider *>(QStringLiteral("physicsslider0"))->setValue(2500);
        editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    QTest::mouseDClick(window.spritesPage()->activesprite(), Qt::LeftButton);
    const int car = carOfSprite(sample, bus);
    EXPECT_EQ(window.document().CarInfoTable[std::size_t(car)].num_doors,
              sample.CarInfoTable[std::size_t(car)].num_doors + 1);
    EXPECT_TRUE(window.isModified());
    EXPECT_TRUE(window.isScriptModified());

    // Closing asks about the script first; saving it writes the file beside the style.
    prompts.queue(Answer::Yes);
    prompts.queueText(dir.path("game/nyc.gci"));
    prompts.queue(Answer::No);
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_TRUE(close.isAccepted());
    EXPECT_EQ(prompts.shown().first(), "The car script has changes that were not saved.");
    const QStringList saved = carScriptLines(readWholeFile(dir.path("game/nyc.gci")));
    EXPECT_EQ(saved.mid(saved.indexOf(QString()) + 1),
              window.document().CarScript.mid(window.document().CarScript.indexOf(QString()) + 1));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(CarWindow, MirrorAllDoorsTwiceRestoresTheDocument) {
    button("mirror all door locations")->click();
    EXPECT_NE(window.document().CarInfoTable, sample.CarInfoTable);
    EXPECT_TRUE(window.isModified());
    button("mirror all door locations")->click();
    EXPECT_EQ(window.document().CarInfoTable, sample.CarInfoTable);
}

TEST_F(CarWindow, TypingOnTheScriptPageChangesTheScriptOnly) {
    QTextCursor cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::End);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClicks(scriptPage(), "x");
    EXPECT_EQ(window.document().CarScript.last(), script.last() + "x");
    EXPECT_TRUE(window.isScriptModified());
    EXPECT_FALSE(window.isModified());

    prompts.queueText(dir.path("saved"));
    action("save GCI")->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("saved.gci")));
    EXPECT_FALSE(window.isScriptModified());
    // The header the save wrote shows on the page.
    EXPECT_EQ(scriptPage()->toPlainText(), window.document().CarScript.join('\n'));

    prompts.queueText(dir.path("game/nyc.gci"));
    action("open GCI")->trigger();
    EXPECT_EQ(window.document().CarScript, script);
}

} // namespace
