// Opening and saving in the window: what cannot be opened leaves the program running, a refused
// file changes nothing, and a load or save shows its progress with the file and history commands
// off.

#include "ui/twnd_editor.h"

#include "findcaptioned.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/sanitizers.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

struct OpenSave : ::testing::Test {
    OpenSave() {
        SilentProgress progress;
        LineLog log;
        StyleDocument sample = makeSampleStyle();
        samplePath = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
        window.setPrompts(&prompts);
    }

    QAction *action(const QString &caption) { return findCaptioned<QAction>(&window, caption); }
    // Any change that makes an undo step.
    void mirrorDoors() {
        for (QPushButton *b : window.findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("mirror all door locations"))
                b->click();
    }

    TestDir dir;
    ScriptedPrompts prompts;
    QString samplePath;
    Twnd_editor window;
};

TEST_F(OpenSave, ArgumentsThatCannotBeOpenedAreRefusedWithAMessageAndTheWindowRuns) {
    // A folder, a missing file and an unreadable one (which a user who may read everything reads as
    // no style file): each one message, the first two naming the file, no load.
    ASSERT_TRUE(QDir(dir.path(QString())).mkdir(QStringLiteral("folder.sty")));
    writeWholeFileAtomic(dir.path("locked.sty"), "locked");
    QFile::setPermissions(dir.path("locked.sty"), QFileDevice::Permissions());
    const QStringList names = {"folder.sty", "missing.sty", "locked.sty"};
    for (const QString &name : names)
        window.openArgument({"vyr2-sty-tool", dir.path(name)});
    ASSERT_EQ(prompts.messages().size(), 3);
    for (int k = 0; k < 2; ++k)
        EXPECT_TRUE(prompts.messages()[k].contains(names[k])) << prompts.messages()[k].toStdString();
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_EQ(window.document(), StyleDocument());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool")) << "no file is open";
    EXPECT_TRUE(action("open")->isEnabled());
    window.openArgument({"vyr2-sty-tool"});
    EXPECT_EQ(prompts.messages().size(), 3) << "no argument, no message";
}

// The address space of the process, in bytes.
rlim_t addressSpaceInUse() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return rlim_t(line.mid(7).trimmed().split(' ').first().toULongLong()) * 1024;
    return 0;
}

TEST_F(OpenSave, OpenAndSaveUnderEveryMemoryLimitRefuseTheFileOrSaveItWhole) {
#ifdef VYR2_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves its memory up front, so a limit fails inside it";
#endif
    SilentProgress progress;
    LineLog log;
    StyleDocument largeSample = makeLargeSampleStyle();
    const QString large = writeStyle(largeSample, dir.path("large.sty"), prompts, progress, log);
    const QByteArray original = readWholeFile(large);
    window.opensty(samplePath);
    const StyleDocument opened = window.document();
    enum Outcome { Refused = 10, Opened = 11, OpenedShortOfMemory = 12, Wrong = 13 };
    // In a child with `headroom` bytes of address space beyond what it uses: open, then Save. A
    // want of memory may stop either; its message, the caption and the document must agree. The
    // least headroom leaves room for the window to go on, not for the file's 9 MB.
    const auto leave = [&](int outcome) {
        dir.removeIfMadeHere();
        std::_Exit(outcome);
    };
    const auto openAndSave = [&](rlim_t headroom) {
        const rlimit limit{addressSpaceInUse() + headroom, RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &limit);
        window.openArgument({"vyr2-sty-tool", large});
        if (window.state() != Twnd_editor::State::Ready)
            leave(Wrong);
        if (window.document() == opened)
            leave(prompts.messages() == QStringList{notEnoughMemoryToOpenMessage(large)} &&
                          window.windowTitle() == "vyr2 sty tool - sample.sty[*]"
                      ? Refused
                      : Wrong);
        if (window.windowTitle() != "vyr2 sty tool - large.sty[*]")
            leave(Wrong);
        action("Save")->trigger();
        const QStringList messages = prompts.messages();
        const bool onlyMemory = std::all_of(messages.begin(), messages.end(), [](const QString &m) {
            return m == "\"large.sty\" is open, but there is not enough memory to show all of it." ||
                   m == "\"large.sty\" was saved, but there is not enough memory to show all of it." ||
                   m.startsWith(QStringLiteral("A shortage of memory had occured while writing: "));
        });
        leave(!onlyMemory ? Wrong : messages.isEmpty() ? Opened : OpenedShortOfMemory);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<int> outcomes;
    for (rlim_t headroom = 4 << 20; headroom <= (160 << 20); headroom += 1 << 20) {
        int outcome = Wrong;
        const auto classified = [&](int status) {
            outcome = WIFEXITED(status) ? WEXITSTATUS(status) : Wrong;
            return outcome != Wrong;
        };
        EXPECT_EXIT(openAndSave(headroom), classified, "") << (headroom >> 20) << " MiB of headroom";
        // Refused, opened or saved: the file on disk is the file as it was, byte for byte.
        EXPECT_EQ(readWholeFile(large), original) << (headroom >> 20) << " MiB of headroom";
        outcomes.push_back(outcome);
        if (outcome == Opened)
            break;
    }
    EXPECT_EQ(outcomes.front(), Refused);
    EXPECT_EQ(outcomes.back(), Opened);
}

TEST_F(OpenSave, TheCaptionNamesTheFileSaveWritesAfterARefusedOpenAndSaveAsInAnyCase) {
    // The game reads "SAMPLE.STY": Save writes that file, not one beside it.
    const QString upper = dir.path("SAMPLE.STY");
    writeWholeFileAtomic(upper, readWholeFile(samplePath));
    window.opensty(upper);
    writeWholeFileAtomic(dir.path("b.sty"), "not a style");
    prompts.queueText(dir.path("b.sty"));
    action("open")->trigger();
    EXPECT_EQ(prompts.messages(), QStringList{NotAStyleFileMessage});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - SAMPLE.STY[*]"));

    mirrorDoors();
    action("Save")->trigger();
    EXPECT_EQ(readWholeFile(dir.path("b.sty")), QByteArray("not a style"));
    const QByteArray mirrored = readWholeFile(upper);
    EXPECT_NE(mirrored, readWholeFile(samplePath)) << "the mirrored doors are in the opened file";
    EXPECT_EQ(QDir(dir.path(QString())).entryList(QDir::Files).size(), 3) << "sample.sty, SAMPLE.STY, b.sty";

    // "save as" keeps an extension of any case, replaces another; Save then writes the new file.
    prompts.queueText(dir.path("copy.Sty"));
    action("save as")->trigger();
    EXPECT_EQ(readWholeFile(dir.path("copy.Sty")), mirrored);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - copy.Sty[*]"));
    prompts.queueText(dir.path("other.bmp"));
    action("save as")->trigger();
    EXPECT_TRUE(QFile::exists(dir.path("other.sty")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - other.sty[*]"));
    mirrorDoors();
    action("Save")->trigger();
    EXPECT_EQ(readWholeFile(dir.path("other.sty")), readWholeFile(samplePath)) << "mirrored back";
    EXPECT_EQ(readWholeFile(dir.path("copy.Sty")), mirrored);
    EXPECT_EQ(readWholeFile(upper), mirrored);
    EXPECT_FALSE(window.isModified());

    // A cancelled "save as" proposes the file Save writes and changes nothing.
    prompts.queueText(std::nullopt);
    action("save as")->trigger();
    EXPECT_EQ(prompts.presets().last(), dir.path("other.sty"));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

// How long it takes is measured by the window benchmark.
TEST_F(OpenSave, AFileOfAMillionEmptyChunksOpensAndItsLogCountsTheRepeats) {
    // A style header and then zeros: every 8 bytes an empty chunk without a name.
    QByteArray damaged(8 << 20, '\0');
    damaged.replace(0, 6, QByteArray("GBST\xbc\x02", 6));
    writeWholeFileAtomic(dir.path("zeros.sty"), damaged);
    const qsizetype chunks = (damaged.size() - 6) / 8;
    window.show();
    window.opensty(dir.path("zeros.sty"));
    EXPECT_EQ(window.state(), Twnd_editor::State::Ready);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("vyr2 sty tool - zeros.sty[*]"));

    const QStringList lines = window.findChild<QPlainTextEdit *>("log")->toPlainText().split('\n');
    const auto found =
        std::find(lines.begin(), lines.end(), QStringLiteral("... and %1 more like this").arg(chunks - 1000));
    ASSERT_NE(found, lines.end());
    const QStringList headers = lines.filter(QStringLiteral("found header: "));
    EXPECT_EQ(headers.size(), 1000);
    EXPECT_EQ(found[-1], headers.last()) << "the count follows the last line shown of its kind";
    EXPECT_TRUE(
        lines.contains(QStringLiteral("2 bytes at offset %1 are too short for a chunk header and were "
                                      "ignored")
                           .arg(damaged.size() - 2)));
    EXPECT_LT(lines.size(), 1100);
}

TEST_F(OpenSave, LoadingAndSavingDriveTheBarWhileFileAndHistoryCommandsAreOff) {
    window.opensty(samplePath);
    // Found before they name a step.
    QAction *undo = action("Undo");
    const std::vector<QAction *> commands = {action("open"), action("save as"), undo, action("Redo")};
    mirrorDoors();
    ASSERT_TRUE(undo->isEnabled());

    struct Step {
        int position;
        int maximum;
        QString status;
        bool commandEnabled;
    };
    std::vector<Step> steps;
    auto *bar = window.findChild<QProgressBar *>(QStringLiteral("loadingbar"));
    const auto *status = window.findChild<QLabel *>(QStringLiteral("loadingstatus"));
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int position) {
        bool enabled = false;
        for (QAction *command : commands)
            enabled = enabled || command->isEnabled();
        steps.push_back({position, bar->maximum(), status->text(), enabled});
    });

    prompts.queue(Answer::No); // discard the change
    prompts.queueText(samplePath);
    action("open")->trigger();
    const int sprites = window.document().spriteCount();
    std::vector<int> reading;
    int readingMaximum = 0;
    std::vector<int> drawing;
    for (const Step &step : steps) {
        EXPECT_FALSE(step.commandEnabled) << step.status.toStdString() << step.position;
        if (step.status.startsWith(QStringLiteral(" reading: ")) ||
            step.status.startsWith(QStringLiteral(" processing: "))) {
            reading.push_back(step.position);
            readingMaximum = step.maximum;
        }
        if (step.status == QStringLiteral(" Drawing sprites... ")) {
            EXPECT_EQ(step.maximum, sprites - 1);
            drawing.push_back(step.position);
        }
    }
    // One step for each of the sample's 14 chunks, then one per sprite and back to 0.
    std::vector<int> everyChunk(14);
    std::iota(everyChunk.begin(), everyChunk.end(), 1);
    EXPECT_EQ(reading, everyChunk);
    EXPECT_EQ(readingMaximum, 14);
    std::vector<int> everySprite(static_cast<std::size_t>(sprites));
    std::iota(everySprite.begin(), everySprite.end(), 0);
    everySprite.push_back(0);
    EXPECT_EQ(drawing, everySprite);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(action("open")->isEnabled());

    mirrorDoors();
    steps.clear();
    prompts.queueText(dir.path("saved.sty"));
    action("save as")->trigger();
    ASSERT_FALSE(steps.empty());
    for (const Step &step : steps)
        EXPECT_FALSE(step.commandEnabled) << step.status.toStdString() << step.position;
    EXPECT_TRUE(QFile::exists(dir.path("saved.sty")));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(action("save as")->isEnabled());
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
