#include "clitest.h"

#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spritepicture.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/paintprograms.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <array>
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

// The car's palette holds its most used body colour twice, once in transparent entry 0. Saved again
// by a paint program (colours renumbered), the sheet comes back changing only the painted pixel:
// pixels keep what their cell showed, and a painted pixel of that colour is opaque.
TEST_F(DeltaCommands, ARenumberedSheetChangesOnlyWhatWasPaintedWhenEntryZeroRepeatsAColour) {
    const int sprite = 4;
    StyleDocument twice = load("start.sty");
    const QImage picture = spritePicture(twice, sprite);
    std::array<int, 256> counts{};
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[std::size_t(picture.pixelIndex(x, y))];
    const int body = int(std::max_element(counts.begin() + 1, counts.end()) - counts.begin());
    const int palette = twice.PaletteIndex[std::size_t(spriteVirtualPalette(twice, sprite))];
    writetoclut(twice, palette, 0, fromRgb(picture.color(body)));
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_FALSE(writeStyle(twice, dir.path("twice.sty"), prompts, progress, log).isEmpty());
    ASSERT_EQ(spritePicture(load("twice.sty"), sprite).color(0), picture.color(body));

    ASSERT_EQ(run({"deltas", dir.path("twice.sty"), QString::number(sprite), dir.path("sheet.bmp")}), 0);
    QImage sheet = loadBitmap(dir.path("sheet.bmp")).image;
    const QImage before = renderDeltaSheet(twice, sprite, DeltaView::Draw);
    ASSERT_EQ(sheet, before);
    // A pixel of cell 3 that shows neither entry 0 nor the body colour, painted in the body colour.
    const QPoint cell = deltaCellOrigin(picture.size(), 3);
    QPoint painted(-1, -1);
    for (int y = 0; y < picture.height() && painted.x() < 0; ++y)
        for (int x = 0; x < picture.width() && painted.x() < 0; ++x)
            if (const int shown = before.pixelIndex(cell + QPoint(x, y));
                shown != 0 && picture.color(shown) != picture.color(body))
                painted = cell + QPoint(x, y);
    ASSERT_GE(painted.x(), 0);
    sheet.setPixel(painted, uint(body));
    QImage expected = before;
    expected.setPixel(painted, uint(body));

    for (const PaintProgram program : AllPaintPrograms) {
        SCOPED_TRACE(programName(program).toStdString());
        writeWholeFileAtomic(dir.path("painted.bmp"), paintProgramBitmap(sheet, program));
        ASSERT_EQ(run({"import-deltas", dir.path("twice.sty"), QString::number(sprite),
                       dir.path("painted.bmp"), dir.path("back.sty")}),
                  0)
            << err.toStdString();
        const QImage after = renderDeltaSheet(load("back.sty"), sprite, DeltaView::Draw);
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                ASSERT_EQ(after.pixelIndex(x, y), expected.pixelIndex(x, y)) << x << "," << y;
    }
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
    EXPECT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("x.bmp"), "--view", "all"}), 2);
    EXPECT_EQ(run({"deltas", dir.path("start.sty"), "four", dir.path("x.bmp")}), 2);
    EXPECT_EQ(run({"publish-car", dir.path("start.sty"), "1"}), 2);
    EXPECT_FALSE(QFileInfo::exists(dir.path("x.bmp")));
}

TEST_F(DeltaCommands, PublishedArchivePassesUnzipTest) {
    // Another user made the old fixed work folder in the temporary folder first, with links inside
    // to this user's files.
    const QString tmp = dir.path("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp + "/stytoolcarzipexporttool - delete"));
    writeWholeFileAtomic(dir.path("precious.txt"), "keep me");
    for (const char *name : {"readme.txt", "VYR2_CAR_2.bmp", "D_VYR2_CAR_2.bmp"})
        ASSERT_TRUE(QFile::link(dir.path("precious.txt"), tmp + "/stytoolcarzipexporttool - delete/" + name));
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    const int status = run({"publish-car", dir.path("start.sty"), "2", dir.path("mycar")});
    qputenv("TMPDIR", oldTmp);
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("precious.txt")), "keep me");
    EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"stytoolcarzipexporttool - delete"})
        << "the export's own work folder is removed";
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

TEST_F(DeltaCommands, ASheetReplacesTheFirstTwentyDeltasAndKeepsTheRest) {
    StyleDocument many = load("start.sty");
    std::vector<QByteArray> deltas(22);
    deltas[20] = QByteArray("\x02\x01\x02\x05\x06", 5);
    deltas[21] = QByteArray("\x03\x00\x01\x07", 4);
    replaceSpriteDeltas(many, 4, deltas);
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_FALSE(writeStyle(many, dir.path("many.sty"), prompts, progress, log).isEmpty());
    ASSERT_EQ(run({"deltas", dir.path("start.sty"), "4", dir.path("sheet.bmp")}), 0);
    ASSERT_EQ(run({"import-deltas", dir.path("many.sty"), "4", dir.path("sheet.bmp"), dir.path("back.sty")}),
              0)
        << err.toStdString();
    EXPECT_TRUE(
        out.startsWith("sprite 4 has 22 deltas: the sheet replaced deltas 0 to 19, deltas 20 to 21 were "
                       "kept.\n"));
    const StyleDocument back = load("back.sty");
    EXPECT_EQ(renderDeltaSheet(back, 4, DeltaView::Draw),
              renderDeltaSheet(load("start.sty"), 4, DeltaView::Draw));
    EXPECT_EQ(back.DeltaIndex[std::size_t(*findDeltaEntry(back, 4))].delta_count, 22);
    EXPECT_EQ(deltaBytes(back, 4, 20).toByteArray(), deltas[20]);
    EXPECT_EQ(deltaBytes(back, 4, 21).toByteArray(), deltas[21]);
}

// Central directory records of a zip file, read from its bytes: general purpose flags and name.
std::vector<std::pair<int, QByteArray>> centralDirectory(const QByteArray &zip) {
    const auto u16 = [&](qsizetype at) {
        return uchar(zip[at]) | uchar(zip[at + 1]) << 8;
    };
    std::vector<std::pair<int, QByteArray>> records;
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0 && at + 46 <= zip.size();
         at = zip.indexOf("PK\x01\x02", at + 46))
        records.emplace_back(u16(at + 8), zip.mid(at + 46, u16(at + 28)));
    return records;
}

TEST_F(DeltaCommands, NamesBeyondAsciiAreStoredAsFlaggedUtf8) {
    ASSERT_TRUE(QDir().mkdir(dir.path("pub")));
    ASSERT_EQ(run({"publish-car", dir.path("start.sty"), "2", dir.path("pub/käfer")}), 0)
        << err.toStdString();
    const auto records = centralDirectory(readWholeFile(dir.path("pub/käfer.zip")));
    ASSERT_EQ(records.size(), 4u);
    const QByteArray names[] = {"VYR2_CAR_2.bmp", "D_VYR2_CAR_2.bmp", "käfer.gif", "readme.txt"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i].second, names[i]);
        EXPECT_EQ(records[i].first & 0x800, i == 2 ? 0x800 : 0) << names[i].constData();
    }
    // Both common readers list the name as it was given.
    const auto listing = [&](const QString &program, const QStringList &args) -> std::optional<QString> {
        QProcess process;
        process.start(program, args + QStringList{dir.path("pub/käfer.zip")});
        if (!process.waitForFinished() || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const std::optional<QString> unzip = listing("unzip", {"-l"});
    const std::optional<QString> python =
        listing("python3", {"-c", "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).namelist())"});
    if (!unzip || !python)
        GTEST_SKIP() << "no unzip or python3";
    EXPECT_TRUE(unzip->contains("   käfer.gif\n")) << unzip->toStdString();
    EXPECT_TRUE(python->contains("'käfer.gif'")) << python->toStdString();
}

} // namespace
