// "edit in paint program": every save of the work file is imported as one step, also a save that
// renames a new file over it; a save that cannot be imported changes nothing and says why in the
// log; selecting another sprite ends the edit.

#include "ui/twnd_editor.h"

#include "findcaptioned.h"
#include "graphics/spriteentries.h"
#include "opensample.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/spritespage.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct PaintProgramWindow : ::testing::Test {
    PaintProgramWindow() {
        window.setFileOpener([this](const QString &file) {
            opened << file;
            return true;
        });
        showAndOpen(window, prompts, dir, sample);
        page = window.spritesPage();
    }

    // The picture the paint program saves: the work file's picture with one more row painted.
    QByteArray paintedRow(int row, int index) {
        QImage picture(opened.last());
        EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, row, uint(index));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "BMP");
        return bytes;
    }
    int storedPixel(int sprite, int x, int y) {
        const SpriteEntry &e = window.document().SpriteIndex[std::size_t(sprite)];
        return window.document().SpriteStore.pixelIndex(e.x() + x, e.page() * 256 + e.y() + y);
    }
    QString log() { return window.findChild<QPlainTextEdit *>(QStringLiteral("log"))->toPlainText(); }
    int steps() { return window.history().stack().count(); }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    Twnd_editor window;
    SpritesPage *page = nullptr;
    QStringList opened;
};

TEST_F(PaintProgramWindow, EachSaveIsImportedOnceUntilTheEditStops) {
    const int sprite = 20;
    page->selectByNumber(sprite);
    QAction *stop = findCaptioned<QAction>(page, "stop editing");
    EXPECT_FALSE(stop->isEnabled());
    findCaptioned<QAction>(page, "edit in paint program")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened.first()).fileName(), SpriteFileName(sample, sprite));
    EXPECT_EQ(QImage(opened.first()).size(), spriteGlyph(sample, sprite).size());
    EXPECT_TRUE(stop->isEnabled());
    const int before = steps();

    // Saved in place: the palette question is asked at this first import only.
    prompts.queueChoice(SpriteImportChoice::PixelsOnly);
    {
        const QByteArray painted = paintedRow(0, 1);
        QFile file(opened.first());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(painted);
    }
    QTRY_COMPARE(steps(), before + 1);
    EXPECT_EQ(storedPixel(sprite, 0, 0), 1);
    EXPECT_TRUE(prompts.allAnswersUsed());

    // Saved by renaming a new file over the old one; no question this time.
    {
        QSaveFile file(opened.first());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(paintedRow(1, 2));
        ASSERT_TRUE(file.commit());
    }
    QTRY_COMPARE(steps(), before + 2);
    EXPECT_EQ(storedPixel(sprite, 0, 1), 2);

    // A save that is no bitmap: the log says why and the document stays.
    const StyleDocument imported = window.document();
    {
        QSaveFile file(opened.first());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        ASSERT_TRUE(file.commit());
    }
    QTRY_VERIFY(log().contains(QStringLiteral("sprite %1 from the paint program: ").arg(sprite)));
    EXPECT_EQ(window.document(), imported);
    EXPECT_EQ(steps(), before + 2);
    EXPECT_TRUE(prompts.messages().isEmpty());

    // Each import is a step of its own.
    window.history().stack().undo();
    EXPECT_EQ(storedPixel(sprite, 0, 1),
              int(sample.SpriteStore.pixelIndex(sample.SpriteIndex[sprite].x(),
                                                sample.SpriteIndex[sprite].page() * 256 +
                                                    sample.SpriteIndex[sprite].y() + 1)));

    // Selecting another sprite ends the edit: later saves are not imported.
    page->selectByNumber(sprite + 1);
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(opened.first()));
}

} // namespace
