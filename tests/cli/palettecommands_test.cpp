#include "clitest.h"
#include "tempdir.h"

#include "fileio.h"

#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct PaletteCommands : CliTest {
    void SetUp() override { ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString(); }
};

TEST_F(PaletteCommands, PaletteTableRoundTripKeepsEveryByte) {
    ASSERT_EQ(run({"export-palettes", dir.path("start.sty"), dir.path("table")}), 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("saved to \"%1\"\n").arg(dir.path("table.bmp")));
    ASSERT_EQ(run({"import-palettes", dir.path("start.sty"), dir.path("table.bmp"), dir.path("back.sty")}), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains("saved chunk \"PPAL\""));
    EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")));
}

TEST_F(PaletteCommands, TextPaletteRoundTripKeepsEveryByte) {
    ASSERT_EQ(run({"export-pal", dir.path("start.sty"), "3", dir.path("three")}), 0) << err.toStdString();
    EXPECT_TRUE(readWholeFile(dir.path("three.pal")).startsWith("JASC-PAL\r\n"));
    ASSERT_EQ(run({"import-pal", dir.path("start.sty"), "3", dir.path("three.pal"), dir.path("back.sty")}), 0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("back.sty")), readWholeFile(dir.path("start.sty")));

    ASSERT_EQ(run({"import-pal", dir.path("start.sty"), "4", dir.path("three.pal"), dir.path("four.sty")}),
              0);
    EXPECT_NE(readWholeFile(dir.path("four.sty")), readWholeFile(dir.path("start.sty")));
}

TEST_F(PaletteCommands, RefusalsFailWithTheirMessageAndWriteNothing) {
    writeWholeFileAtomic(dir.path("weed.pal"), "jasc-pal\r\n0100\r\n256\r\n");
    EXPECT_EQ(run({"import-pal", dir.path("start.sty"), "0", dir.path("weed.pal"), dir.path("out.sty")}), 1);
    EXPECT_EQ(err, "This is not a 256-color jasc palette.. it looks more like weed to me.\n");

    ASSERT_EQ(run({"export-pal", dir.path("start.sty"), "0", dir.path("zero.pal")}), 0);
    EXPECT_EQ(run({"import-palettes", dir.path("start.sty"), dir.path("zero.pal"), dir.path("out.sty")}), 1);
    EXPECT_FALSE(err.isEmpty()) << "a text file is no bitmap";
    EXPECT_EQ(run({"export-pal", dir.path("start.sty"), "seven", dir.path("x.pal")}), 1);
    EXPECT_EQ(err, "'seven' is not a valid integer value\n");
    EXPECT_EQ(run({"export-pal", dir.path("start.sty"), "3"}), 1);
    EXPECT_TRUE(err.contains("usage: vyr2-sty"));
    EXPECT_FALSE(QFile::exists(dir.path("out.sty")));
    EXPECT_FALSE(QFile::exists(dir.path("x.pal")));
}

} // namespace
