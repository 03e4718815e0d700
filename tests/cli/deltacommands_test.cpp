#include "clitest.h"

#include "bitmapfile.h"
#include "deltasheet.h"
#include "deltaunit.h"
#include "log.h"
#include "progress.h"
#include "scriptedprompts.h"
#include "spritepicture.h"
#include "stylereader.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct DeltaCommands : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString(); }

    StyleDocument load(const QString &name) {
        StyleDocument doc;
        ScriptedPrompts prompts;
        SilentProgress progress;
        LineLog log;
        EXPECT_TRUE(opensty(doc, dir.path(name), prompts, progress, log));
        return doc;
    }
};

TEST_F(DeltaCommands, SheetsOfEachViewImportBackToTheSameDrawing) {
    const StyleDocument start = load("start.sty");
    for (const char *view : {"draw", "cars", "changes"}) {
        const QString name = dir.path(QStringLiteral("%1.bmp").arg(view));
        ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", name, "--view", view}), 0) << err.toStdString();
        EXPECT_EQ(out, QStringLiteral("saved to \"%1\"\n").arg(name));
        const LoadedBitmap sheet = loadBitmap(name);
        EXPECT_EQ(sheet.pixelFormatCode, Pf8Bit);
        EXPECT_EQ(sheet.image.size(), deltaSheetSize(spritePicture(start, 4).size()));
    }
    ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("default.bmp")}), 0);
    EXPECT_EQ(loadBitmap(dir.path("default.bmp")).image, loadBitmap(dir.path("draw.bmp")).image);

    ASSERT_EQ(run({"import-deltas", dir.path("start.sty"), "4", dir.path("draw.bmp"), dir.path("back.sty")}),
              0)
        << err.toStdString();
    const StyleDocument back = load("back.sty");
    EXPECT_EQ(renderDeltaSheet(back, 4, DeltaView::Draw), renderDeltaSheet(start, 4, DeltaView::Draw));
    EXPECT_EQ(back.DeltaIndex[std::size_t(*findDeltaEntry(back, 4))].delta_count, 20);
    for (const DeltaIndexEntry &entry : start.DeltaIndex)
        for (int d = 0; entry.sprite != 4 && d < entry.delta_count; ++d)
            EXPECT_EQ(deltaBytes(back, entry.sprite, d).toByteArray(),
                      deltaBytes(start, entry.sprite, d).toByteArray());
}

TEST_F(DeltaCommands, RefusalsFailTheCommandAndWriteNothing) {
    ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("draw.bmp")}), 0);
    EXPECT_EQ(run({"import-deltas", dir.path("start.sty"), "5", dir.path("draw.bmp"), dir.path("out.sty")}),
              1)
        << "sprite 5 has another size";
    EXPECT_TRUE(err.startsWith(QStringLiteral("bitmap width is not "))) << err.toStdString();
    const int firstPed = load("start.sty").SpriteBases[SprCar];
    EXPECT_EQ(run({"import-deltas", dir.path("start.sty"), QString::number(firstPed), dir.path("draw.bmp"),
                   dir.path("out.sty")}),
              1);
    EXPECT_FALSE(QFileInfo::exists(dir.path("out.sty")));
    EXPECT_EQ(run({"deltas", dir.path("start.sty"), "9999", dir.path("x.bmp")}), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("There is no sprite 9999"))) << err.toStdString();
    EXPECT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("x.bmp"), "--view", "all"}), 1);
    EXPECT_EQ(run({"deltas", dir.path("start.sty"), "four", dir.path("x.bmp")}), 1);
    EXPECT_EQ(run({"publish-car", dir.path("start.sty"), "1"}), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.path("x.bmp")));
}

TEST_F(DeltaCommands, PublishedArchivePassesUnzipTest) {
    ASSERT_EQ(run({"publish-car", dir.path("start.sty"), "2", dir.path("mycar")}), 0) << err.toStdString();
    EXPECT_EQ(
        out,
        QStringLiteral("saved to \"%1\" and \"%2\"\n").arg(dir.path("mycar.zip"), dir.path("mycar.gif")));
    EXPECT_TRUE(QFileInfo(dir.path("mycar.gif")).isFile());
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-t"), dir.path("mycar.zip")});
    if (!unzip.waitForFinished())
        GTEST_SKIP() << "no unzip program";
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardOutput().toStdString();
}

} // namespace
