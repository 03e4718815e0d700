#include "clitest.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"

#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Cli : CliTest {
    QStringList outLines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

TEST_F(Cli, SampleThenResaveGivesIdenticalBytes) {
    ASSERT_EQ(run({"sample", dir.path("start"), "--verbose"}), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty());
    EXPECT_TRUE(out.contains("saved chunk \"TILE\""));
    EXPECT_TRUE(out.contains(QStringLiteral("file saved to \"%1\"").arg(dir.path("start.sty"))));

    ASSERT_EQ(run({"resave", dir.path("start.sty"), dir.path("copy.bin"), "--verbose"}), 0)
        << err.toStdString();
    EXPECT_TRUE(outLines().first() == "creating memory stream...");
    EXPECT_EQ(readWholeFile(dir.path("copy.sty")), readWholeFile(dir.path("start.sty")));
}

TEST_F(Cli, SampleWritesItsCarScriptBeside) {
    ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString();
    const QByteArray bytes = readWholeFile(dir.path("nyc.gci"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    EXPECT_EQ(lines, makeSampleCarScript(makeSampleStyle()));
    EXPECT_FALSE(bytes.contains("\n\n")) << "every line ends in CR LF";

    // A modder's own files of those names stay unless --force is given.
    writeWholeFileAtomic(dir.path("nyc.gci"), "my script");
    EXPECT_EQ(run({"sample", dir.path("other")}), 1);
    EXPECT_EQ(err, QStringLiteral("\"%1\" exists; nothing was written (--force replaces it).\n")
                       .arg(dir.path("nyc.gci")));
    EXPECT_FALSE(QFile::exists(dir.path("other.sty")));
    writeWholeFileAtomic(dir.path("start.sty"), "my style");
    EXPECT_EQ(run({"sample", dir.path("start")}), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("\"%1\" exists;").arg(dir.path("start.sty"))));
    EXPECT_EQ(readWholeFile(dir.path("start.sty")), "my style");
    EXPECT_EQ(readWholeFile(dir.path("nyc.gci")), "my script");
    ASSERT_EQ(run({"sample", "--force", dir.path("start")}), 0) << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("nyc.gci")), bytes);
    EXPECT_TRUE(readWholeFile(dir.path("start.sty")).startsWith("GBST"));
}

TEST_F(Cli, LargeSampleIsTheBenchmarkFile) {
    ASSERT_EQ(run({"sample", "--large", dir.path("big")}), 0) << err.toStdString();
    ASSERT_EQ(run({"info", dir.path("big.sty")}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains("sprite pages: 64, sprites: 3001\n"));
    EXPECT_TRUE(out.contains("tile pages: 62, tiles: 992\n"));
    EXPECT_TRUE(out.contains("cars: 256\n"));
    EXPECT_EQ(QString::fromLatin1(readWholeFile(dir.path("nyc.gci"))).count("{model}"), 256);
}

TEST_F(Cli, InfoPrintsTheLoadLogThenTheSummary) {
    ASSERT_EQ(run({"sample", dir.path("start")}), 0);
    ASSERT_EQ(run({"info", dir.path("start.sty")}), 0) << err.toStdString();

    StyleDocument doc;
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    ASSERT_TRUE(opensty(doc, dir.path("start.sty"), prompts, progress, log));
    const QStringList lines = outLines();
    ASSERT_GT(lines.size(), log.lines().size());
    EXPECT_EQ(lines.mid(0, log.lines().size()), log.lines());
    EXPECT_EQ(lines[0], "creating memory stream and loading file...");
    EXPECT_EQ(lines[3], "found header: TILE size: 131072");

    const QStringList summary = lines.mid(log.lines().size());
    EXPECT_EQ(summary[0], "tile pages: 2, tiles: 32");
    EXPECT_EQ(summary[2], "physical palettes: 128");
    EXPECT_TRUE(
        summary[3].startsWith("virtual palettes: 138 (tile 32, sprite 73, car_remap 16, ped_remap 8,"))
        << summary[3].toStdString();
    EXPECT_EQ(summary[4], "sprites per kind: car 9, ped 10, code_obj 6, map_obj 8, user 4, font 36");
    EXPECT_EQ(summary[5], "cars: 10");
    EXPECT_TRUE(summary[7].startsWith("surface lists: 9 (lengths ")) << summary[7].toStdString();
    EXPECT_EQ(summary[8], "recycle list: 0 7 11 29 41 47 48 56 68");
}

TEST_F(Cli, InfoSummarisesAFileWithFewChunks) {
    QFile file(dir.path("few.sty"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(styleFile({{"RECY", QByteArray()}, {"SPEC", u16s({3, 0, 5})}}));
    file.close();
    ASSERT_EQ(run({"info", dir.path("few.sty")}), 0) << err.toStdString();
    const QStringList lines = outLines();
    EXPECT_TRUE(lines.contains("tile pages: 0, tiles: 0"));
    EXPECT_TRUE(lines.contains("sprite pages: 0, sprites: 0"));
    EXPECT_TRUE(lines.contains("surface lists: 1 (lengths 1), and 1 words not ended by 0"));
    EXPECT_EQ(lines.last(), "recycle list: empty");
}

TEST_F(Cli, RefusalsAndErrorsFailWithTheirMessage) {
    EXPECT_EQ(run({"info", dir.path("missing.sty")}), 1);
    EXPECT_TRUE(err.contains(dir.path("missing.sty"))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());

    QFile notStyle(dir.path("not.sty"));
    ASSERT_TRUE(notStyle.open(QIODevice::WriteOnly));
    notStyle.write("GBSX\xbc\x02 whatever follows");
    notStyle.close();
    EXPECT_EQ(run({"info", dir.path("not.sty")}), 1);
    EXPECT_EQ(err, "punk don't fuck with me! this ain't vyr2 style file!\n");
    EXPECT_EQ(run({"resave", dir.path("not.sty"), dir.path("out")}), 1);
    EXPECT_FALSE(QFile::exists(dir.path("out.sty")));

    ASSERT_EQ(run({"sample", dir.path("start")}), 0);
    EXPECT_EQ(run({"resave", dir.path("start.sty"), dir.path("no/such/folder/out")}), 1);
    EXPECT_TRUE(err.contains(" had occured while writing: SPEC")) << err.toStdString();

    EXPECT_EQ(run({"sample", dir.path("no/such/folder/start")}), 1);
    EXPECT_TRUE(err.contains(" had occured while writing: SPEC")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.path("no/such/folder/nyc.gci")));
}

} // namespace
