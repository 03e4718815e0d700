#include "clitest.h"

#include "cars/carrecords.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CarCli : CliTest {
    StyleDocument load(const QString &name) {
        StyleDocument doc;
        ScriptedPrompts prompts;
        SilentProgress progress;
        LineLog log;
        EXPECT_TRUE(opensty(doc, dir.path(name), prompts, progress, log));
        return doc;
    }
};

TEST_F(CarCli, CarInfoShowsTheRecordDoorsAndPhysics) {
    ASSERT_EQ(run({"sample", dir.path("start")}), 0) << err.toStdString();
    ASSERT_EQ(run({"car-info", dir.path("start.sty"), "3"}), 0) << err.toStdString();
    const CarInfoRecord bus = makeSampleStyle().CarInfoTable[3];
    EXPECT_TRUE(out.startsWith("car 3\nmodel: 11\nscript car name: BUS\n")) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("passengers: %1\n").arg(bus.passengers)));
    EXPECT_TRUE(out.contains("wreck: 7 (7 - big long truck wreck)\n"));
    EXPECT_TRUE(out.contains("info_flags: 0x01 (too high for a ped to jump)\n"));
    EXPECT_TRUE(out.contains("num_doors: 4\n"));
    const ShownDoor second = shownDoor(bus.doors[1]);
    ASSERT_TRUE(second.walkIn);
    EXPECT_TRUE(out.contains(QStringLiteral("door 1: x %1, y %2, walk-in\n").arg(second.x).arg(second.y)));
    EXPECT_TRUE(out.contains("recycled: yes\n"));
    EXPECT_TRUE(out.contains("  name: BUS\n"));
    EXPECT_TRUE(out.contains("  mass: ")) << out.toStdString();
    EXPECT_TRUE(out.contains("  car cost: "));

    ASSERT_TRUE(QFile::remove(dir.path("nyc.gci")));
    ASSERT_EQ(run({"car-info", dir.path("start.sty"), "3"}), 0);
    EXPECT_TRUE(out.contains("physics: no nyc.gci beside the style file\n"));
    // A script that is no regular file is skipped and said so: reading a FIFO would wait for a
    // writer, /dev/zero would never end.
    ASSERT_EQ(QProcess::execute("mkfifo", {dir.path("nyc.gci")}), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.path("NYC.GCI")));
    const QString skipped = QStringLiteral("\"%1\" is no regular file; the car script was not read.\n"
                                           "physics: no nyc.gci beside the style file\n");
    ASSERT_EQ(run({"car-info", dir.path("start.sty"), "3"}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith(skipped.arg(dir.path("nyc.gci")))) << out.toStdString();
    ASSERT_TRUE(QFile::remove(dir.path("nyc.gci")));
    ASSERT_EQ(run({"car-info", dir.path("start.sty"), "3"}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith(skipped.arg(dir.path("NYC.GCI")))) << out.toStdString();
    ASSERT_TRUE(QFile::remove(dir.path("NYC.GCI")));
    ASSERT_TRUE(QDir().mkdir(dir.path("Nyc.gci")));
    ASSERT_EQ(run({"car-info", dir.path("start.sty"), "3"}), 0) << err.toStdString();
    EXPECT_TRUE(out.endsWith(skipped.arg(dir.path("Nyc.gci")))) << out.toStdString();
    EXPECT_EQ(run({"car-info", dir.path("start.sty"), "10"}), 1);
    EXPECT_TRUE(err.contains("no car 10"));
    EXPECT_EQ(run({"car-info", dir.path("start.sty"), "x"}), 2);
}

TEST_F(CarCli, MirrorDoorsTwiceGivesTheSameFile) {
    ASSERT_EQ(run({"sample", dir.path("start")}), 0);
    ASSERT_EQ(run({"mirror-doors", dir.path("start.sty"), dir.path("once")}), 0) << err.toStdString();
    ASSERT_EQ(run({"mirror-doors", dir.path("once.sty"), dir.path("twice")}), 0) << err.toStdString();
    StyleDocument once = load("once.sty");
    const StyleDocument start = load("start.sty");
    EXPECT_NE(once.CarInfoTable[3], start.CarInfoTable[3]);
    mirrorAllDoorLocations(once);
    EXPECT_EQ(once, start);
    EXPECT_EQ(readWholeFile(dir.path("twice.sty")), readWholeFile(dir.path("start.sty")));
}

} // namespace
