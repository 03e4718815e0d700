// The File menu: Save writes the open style file in place with no dialog, Quit asks about unsaved
// changes as closing the window does.

#include "ui/twnd_editor.h"

#include "findcaptioned.h"
#include "opensample.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"
#include "ui/spritespage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct FileMenu : ::testing::Test {
    FileMenu() {
        path = showAndOpen(window, prompts, dir, makeSampleStyle());
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Types a new x into the selected sprite's field: one undoable change of its index entry.
    void moveSpriteTo(int x) {
        auto *field = window.findChild<QLineEdit *>(QStringLiteral("spritex"));
        field->selectAll();
        QTest::keyClicks(field, QString::number(x));
    }
    // Byte 0 of a sprite's 8-byte entry in the saved file is its x.
    int savedX(int sprite) { return quint8(styleChunks(readWholeFile(path)).at("SPRX").at(8 * sprite)); }

    TestDir dir;
    ScriptedPrompts prompts;
    QString path;
    Twnd_editor window;
};

TEST_F(FileMenu, SaveWritesTheOpenFileInPlaceAndQuitAsksFirst) {
    const QStringList before = QDir(QFileInfo(path).path()).entryList(QDir::Files);
    window.spritesPage()->selectByNumber(5);
    moveSpriteTo(17);
    ASSERT_TRUE(window.isModified());

    // No dialog: the scripted prompts would fail the test on one.
    findCaptioned<QAction>(&window, "Save")->trigger();
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.shown().join('|').toStdString();
    EXPECT_EQ(savedX(5), 17);
    EXPECT_FALSE(window.isModified());
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), before);

    // Ctrl+S does the same.
    moveSpriteTo(42);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(savedX(5), 42);
    EXPECT_FALSE(window.isModified());

    // Quit with changes: Cancel keeps the window, No closes it without saving.
    moveSpriteTo(99);
    prompts.queue(Answer::Cancel);
    findCaptioned<QAction>(&window, "Quit")->trigger();
    EXPECT_TRUE(window.isVisible());
    prompts.queue(Answer::No);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(savedX(5), 42);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

TEST_F(FileMenu, AboutShowsTheVersionOfThisBuild) {
    QProcess git;
    git.start("git", {"-C", VYR2_SOURCE_DIR, "rev-parse", "--short", "HEAD"});
    const bool fromGit =
        git.waitForFinished() && git.exitStatus() == QProcess::NormalExit && git.exitCode() == 0;
    const QString commit = fromGit ? QString::fromUtf8(git.readAllStandardOutput()).trimmed() : "unknown";
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            shown << label->text();
        dialog->close();
    });
    findCaptioned<QAction>(&window, "About")->trigger();
    EXPECT_TRUE(shown.contains(QStringLiteral("Version %1 (%2)").arg(VYR2_PROJECT_VERSION, commit)))
        << shown.join('|').toStdString();
}

} // namespace
