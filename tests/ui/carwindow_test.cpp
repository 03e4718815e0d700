#include "ui/twnd_editor.h"

#include "cars/carrecords.h"
#include "cars/carscript.h"
#include "everypage.h"
#include "findcaptioned.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/careditordialog.h"
#include "ui/selectedsprite.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"
#include "ui/twnd_surface.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The sample style with its nyc.gci beside it, opened in the window.
struct CarWindow : ::testing::Test {
    CarWindow() {
        makeEveryPage(window);
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

    QAction *action(const QString &caption) { return findCaptioned<QAction>(&window, caption); }
    // "edit car" on sprite 3 with the mass slider moved, then "Ok".
    void setMassOfSprite3(int mass) {
        window.spritesPage()->selectByNumber(3);
        Twnd_caredit *editor = window.carEditor();
        QTimer::singleShot(0, editor, [editor, mass] {
            editor->findChild<QSlider *>(QStringLiteral("physicsslider0"))->setValue(mass);
            editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
        });
        action("edit car")->trigger();
    }
    QPushButton *button(const QString &caption) { return findCaptioned<QPushButton>(&window, caption); }
    QPlainTextEdit *scriptPage() { return window.findChild<QPlainTextEdit *>(QStringLiteral("gcitext")); }
    // The page's lines as they stand (toPlainText() shows non-breaking spaces as blanks).
    QStringList pageLines() {
        QStringList lines;
        for (QTextBlock block = scriptPage()->document()->begin(); block.isValid(); block = block.next())
            lines << block.text();
        return lines;
    }

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

    // A game copied from Windows may spell the name in capitals.
    QDir().mkdir(dir.path("copied"));
    ASSERT_TRUE(QFile::copy(stylePath, dir.path("copied/plain.sty")));
    writeWholeFileAtomic(dir.path("copied/NYC.GCI"), "{copied}\r\n\r\n1 {model}\r\n");
    window.opensty(dir.path("copied/plain.sty"));
    EXPECT_EQ(window.document().CarScript, QStringList({"{copied}", "", "1 {model}"}));
    EXPECT_FALSE(window.isScriptModified());
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

TEST_F(CarWindow, OkRewritesOnlyThePhysicsLinesTheUserChanged) {
    // Model 11's block as another tool wrote it: fewer decimals than the editor writes.
    const int line = findModelLine(script, 11);
    QStringList written = script;
    written[line + 12] = "f0.5 {thrust}";
    written[line + 4] = "f1.5 {mass}";
    written[line + 1] = "1  {turbo}";
    writeWholeFileAtomic(dir.path("game/nyc.gci"), carScriptBytes(written));
    window.opensty(stylePath);
    ASSERT_EQ(window.document().CarScript, written);

    window.spritesPage()->selectByNumber(3);
    Twnd_caredit *editor = window.carEditor();
    int mass = 0;
    int thrust = 0;
    QTimer::singleShot(0, editor, [&] {
        mass = editor->findChild<QSlider *>(QStringLiteral("physicsslider0"))->value();
        thrust = editor->findChild<QSlider *>(QStringLiteral("physicsslider1"))->value();
        editor->findChild<QTableWidget *>(QStringLiteral("infogrid"))->item(1, 1)->setText("9");
        editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    action("edit car")->trigger();
    EXPECT_EQ(mass, 1500);
    EXPECT_EQ(thrust, 500);
    EXPECT_EQ(window.document().CarInfoTable[std::size_t(carOfSprite(sample, 3))].passengers, 9);
    EXPECT_EQ(window.document().CarScript, written);
    EXPECT_FALSE(window.isScriptModified());

    // A value the user does change is written the editor's way, and only that line.
    QTimer::singleShot(0, editor, [&] {
        auto *edit = editor->findChild<QLineEdit *>(QStringLiteral("physicsedit1"));
        edit->selectAll();
        QTest::keyClicks(edit, "0.75");
        editor->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    action("edit car")->trigger();
    written[line + 12] = "f0.750 {thrust}";
    EXPECT_EQ(window.document().CarScript, written);
}

TEST_F(CarWindow, UndoingEditCarOrASurfaceKeepsWhatWasTypedSince) {
    const int line = findModelLine(script, 11);
    setMassOfSprite3(2500);
    ASSERT_EQ(window.document().CarScript[line + 4], "f2.500 {mass}");

    // Typed on the page: a first line, which moves the car's block, and a letter at the end.
    QTextCursor cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::Start);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClicks(scriptPage(), "{mine}");
    QTest::keyClick(scriptPage(), Qt::Key_Return);
    cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::End);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClicks(scriptPage(), "x");
    QStringList typed = QStringList{"{mine}"} + script;
    typed.last() += "x";

    window.findChild<TileGridView *>()->setCurrentCell(5, 2);
    auto *surface = window.findChild<Twnd_surface *>();
    QTimer::singleShot(0, surface, [&] {
        surface->findChild<QListWidget *>(QStringLiteral("CheckListBox1"))
            ->findItems("water (floor)", Qt::MatchExactly)
            .first()
            ->setCheckState(Qt::Checked);
        surface->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
    });
    action("Surface")->trigger();
    const QStringList water = sample.SurfaceColumns[2];
    ASSERT_EQ(window.document().SurfaceColumns[2], QStringList(water) << "25");
    auto *column = window.findChild<QPlainTextEdit *>(QStringLiteral("spec3"));
    cursor = column->textCursor();
    cursor.movePosition(QTextCursor::End);
    column->setTextCursor(cursor);
    QTest::keyClick(column, Qt::Key_Return);
    QTest::keyClicks(column, "12");

    action("Undo surface for tile 25")->trigger();
    EXPECT_EQ(window.document().SurfaceColumns[2], QStringList(water) << "12");
    EXPECT_EQ(column->toPlainText(), (QStringList(water) << "12").join('\n'));
    action("Undo edit car")->trigger();
    EXPECT_EQ(window.document().CarScript, typed);
    EXPECT_EQ(pageLines(), typed);
    action("Redo edit car")->trigger();
    QStringList redone = typed;
    redone[line + 5] = "f2.500 {mass}";
    EXPECT_EQ(window.document().CarScript, redone);
}

TEST_F(CarWindow, TextPagesKeepTheirOwnUndoAndScrollAcrossCommands) {
    window.resize(900, 600);
    window.show();
    auto *column = window.findChild<QPlainTextEdit *>(QStringLiteral("spec1"));
    const QString columnText = column->toPlainText();
    QTextCursor cursor = column->textCursor();
    cursor.movePosition(QTextCursor::End);
    column->setTextCursor(cursor);
    QTest::keyClicks(column, "7");

    const int line = findModelLine(script, 11);
    setMassOfSprite3(2500);
    ASSERT_EQ(pageLines()[line + 4], "f2.500 {mass}");

    // Undoing "edit car" rewrites the line it changed; the view stays where the user scrolled it.
    window.mainPages()->setCurrentWidget(scriptPage());
    QScrollBar *scroll = scriptPage()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 100);
    scroll->setValue(scroll->maximum() / 2);
    action("Undo edit car")->trigger();
    EXPECT_EQ(scroll->value(), scroll->maximum() / 2);
    EXPECT_EQ(pageLines(), script);

    // Typed on the script page, then a command: Ctrl+Z there still takes back what was typed.
    cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::End);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClicks(scriptPage(), "x");
    button("mirror all door locations")->click();
    QStringList typed = script;
    typed.last() += "x";
    EXPECT_EQ(window.document().CarScript, typed);
    QTest::keyClick(scriptPage(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pageLines(), script);
    EXPECT_EQ(window.document().CarScript, script);
    window.mainPages()->setCurrentIndex(2);
    QTest::keyClick(column, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(column->toPlainText(), columnText);
    EXPECT_EQ(window.document().SurfaceColumns[0], sample.SurfaceColumns[0]);
}

TEST_F(CarWindow, MirrorAllDoorsTwiceRestoresTheDocument) {
    button("mirror all door locations")->click();
    EXPECT_NE(window.document().CarInfoTable, sample.CarInfoTable);
    EXPECT_TRUE(window.isModified());
    button("mirror all door locations")->click();
    EXPECT_EQ(window.document().CarInfoTable, sample.CarInfoTable);
}

TEST_F(CarWindow, TypingOnTheScriptPageChangesTheScriptOnly) {
    // Every byte a script may hold, a non-breaking space (0xA0) among them.
    QByteArray bytes = carScriptBytes(script);
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            bytes += char(byte);
    bytes += "\r\n";
    writeWholeFileAtomic(dir.path("game/all.gci"), bytes);
    prompts.queueText(dir.path("game/all.gci"));
    action("open GCI")->trigger();
    const QStringList all = window.document().CarScript;
    ASSERT_EQ(all.size(), script.size() + 1);

    QTextCursor cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::End);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClicks(scriptPage(), "x");
    QByteArray typed = bytes;
    typed.insert(typed.size() - 2, 'x');
    EXPECT_EQ(carScriptBytes(window.document().CarScript), typed);
    EXPECT_TRUE(window.isScriptModified());
    EXPECT_FALSE(window.isModified());

    // A save that fails changes neither the page nor the text.
    const QStringList before = window.document().CarScript;
    prompts.queueText(dir.path("no such folder/saved"));
    action("save GCI")->trigger();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(window.document().CarScript, before);
    EXPECT_EQ(pageLines(), before);
    EXPECT_TRUE(window.isScriptModified());

    prompts.queueText(dir.path("saved"));
    action("save GCI")->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("saved.gci")));
    EXPECT_FALSE(window.isScriptModified());
    // The header the save wrote shows on the page.
    EXPECT_EQ(pageLines(), window.document().CarScript);

    prompts.queueText(dir.path("game/nyc.gci"));
    action("open GCI")->trigger();
    EXPECT_EQ(window.document().CarScript, script);
}

TEST_F(CarWindow, AScriptTypedAndSavedBesideTheStyleComesBackWithIt) {
    // A line typed at the end of the script; the style itself stays unchanged.
    QTextCursor cursor = scriptPage()->textCursor();
    cursor.movePosition(QTextCursor::End);
    scriptPage()->setTextCursor(cursor);
    QTest::keyClick(scriptPage(), Qt::Key_Return);
    QTest::keyClicks(scriptPage(), "{mine}");
    const QStringList typed = script + QStringList{"{mine}"};
    EXPECT_EQ(window.document().CarScript, typed);
    EXPECT_TRUE(window.isScriptModified());
    EXPECT_FALSE(window.isModified());
    EXPECT_FALSE(window.isWindowModified());

    // A command after the typing and its undo leave the typed line where it is.
    button("mirror all door locations")->click();
    action("Undo mirror all door locations")->trigger();
    EXPECT_EQ(window.document().CarScript, typed);
    EXPECT_EQ(pageLines(), typed);

    // Saved beside the style: the page shows the header the save wrote.
    prompts.queueText(dir.path("game/nyc.gci"));
    action("save GCI")->trigger();
    EXPECT_FALSE(window.isScriptModified());
    const QStringList saved = carScriptLines(readWholeFile(dir.path("game/nyc.gci")));
    // Below the header, the lines as typed.
    EXPECT_EQ(saved.mid(saved.indexOf(QString())), typed.mid(typed.indexOf(QString())));
    EXPECT_EQ(pageLines(), saved);
    EXPECT_EQ(window.document().CarScript, saved);

    // Another script typed over, then the style opened again: the saved one comes back with it,
    // and the page has nothing of the typing before to undo.
    QTest::keyClicks(scriptPage(), "lost");
    ASSERT_TRUE(window.isScriptModified());
    prompts.queue(Answer::No);
    prompts.queueText(stylePath);
    action("open")->trigger();
    EXPECT_TRUE(prompts.shown().contains("The car script has changes that were not saved."));
    EXPECT_EQ(window.document().CarScript, saved);
    EXPECT_EQ(pageLines(), saved);
    EXPECT_FALSE(window.isScriptModified());
    EXPECT_FALSE(scriptPage()->document()->isUndoAvailable());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
