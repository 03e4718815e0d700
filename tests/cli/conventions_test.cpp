// What a script sees of vyr2-sty's command line: help pages, usage errors in one line with exit
// status 2, options in both spellings, the version.
#include "clitest.h"
#include "fileio.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct Conventions : CliTest {
    // The command names of the --help list: the first word of each line under "Commands:".
    QStringList listedCommands() const {
        QStringList names;
        const QStringList lines = out.split('\n');
        for (qsizetype k = lines.indexOf("Commands:") + 1; k > 0 && k < lines.size() && !lines[k].isEmpty();
             ++k)
            names << lines[k].section(' ', 2, 2);
        return names;
    }
};

TEST_F(Conventions, EveryCommandHasAHelpPageByEitherSpelling) {
    ASSERT_EQ(run({"--help"}), 0);
    const QString list = out;
    EXPECT_TRUE(err.isEmpty());
    EXPECT_TRUE(list.startsWith("Usage: vyr2-sty COMMAND [ARGUMENTS] [OPTIONS]\n\nCommands:\n"));
    for (const QStringList &args : {QStringList{"-h"}, QStringList{"help"}}) {
        EXPECT_EQ(run(args), 0);
        EXPECT_EQ(out, list) << args.join(' ').toStdString();
    }
    const QStringList commands = listedCommands();
    const QStringList expected = {"info",
                                  "resave",
                                  "sample",
                                  "export-palettes",
                                  "import-palettes",
                                  "add-palettes",
                                  "remove-palettes",
                                  "export-pal",
                                  "import-pal",
                                  "export-tiles",
                                  "import-tile",
                                  "export-raw-tiles",
                                  "import-raw-tiles",
                                  "render-tiles",
                                  "export-sprites",
                                  "import-sprite",
                                  "export-raw-sprites",
                                  "import-raw-sprites",
                                  "sprite-info",
                                  "render-sprites",
                                  "deltas",
                                  "import-deltas",
                                  "publish-car",
                                  "car-info",
                                  "mirror-doors",
                                  "unpack",
                                  "pack",
                                  "check",
                                  "diff"};
    EXPECT_EQ(QStringList(commands).size(), expected.size()) << list.toStdString();
    for (const QString &command : expected)
        EXPECT_TRUE(commands.contains(command)) << command.toStdString();

    for (const QString &command : commands) {
        ASSERT_EQ(run({"help", command}), 0) << command.toStdString();
        const QString page = out;
        const QStringList lines = page.split('\n');
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Usage: vyr2-sty %1 ").arg(command)))
            << page.toStdString();
        EXPECT_TRUE(lines[1].isEmpty() && !lines[2].isEmpty()) << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("\nExample:\n  vyr2-sty %1 ").arg(command)))
            << page.toStdString();
        // The help page wins over the arguments, which are not read.
        for (const QStringList &args :
             {QStringList{command, "--help"}, QStringList{command, "x.sty", "-h"}}) {
            EXPECT_EQ(run(args), 0) << args.join(' ').toStdString();
            EXPECT_EQ(out, page) << args.join(' ').toStdString();
            EXPECT_TRUE(err.isEmpty());
        }
    }
    ASSERT_EQ(run({"help", "import-tile"}), 0);
    EXPECT_TRUE(out.contains("\nOptions:\n  --palette keep|map:N|import:N")) << out.toStdString();
    EXPECT_TRUE(out.contains("\n  --colours C, --colors C")) << out.toStdString();
}

TEST_F(Conventions, AUsageErrorIsNamedInOneLineWithStatus2) {
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    const QString style = dir.path("s.sty");
    struct Case {
        QStringList args;
        QString line;
    };
    const Case cases[] = {
        {{}, "vyr2-sty: no command given; see: vyr2-sty --help"},
        {{"frobnicate", style}, "vyr2-sty: unknown command \"frobnicate\"; see: vyr2-sty --help"},
        {{"help", "frobnicate"}, "vyr2-sty: no command \"frobnicate\"; see: vyr2-sty --help"},
        {{"export-tiles", style, dir.path("t"), "--pgn"},
         "export-tiles: unknown option --pgn; see: vyr2-sty help export-tiles"},
        {{"info"}, "info: missing FILE.sty; see: vyr2-sty help info"},
        {{"import-pal", style, "3"}, "import-pal: missing IN.pal; see: vyr2-sty help import-pal"},
        {{"info", style, "more.sty"}, "info: surplus argument \"more.sty\"; see: vyr2-sty help info"},
        {{"export-tiles", style, dir.path("t"), "--pattern"},
         "export-tiles: option --pattern needs a value P; see: vyr2-sty help export-tiles"},
        {{"sample", "--large=yes", dir.path("x.sty")},
         "sample: option --large takes no value; see: vyr2-sty help sample"},
        {{"diff", style, style, "--png=a.png", "--png", "b.png"},
         "diff: option --png given twice; see: vyr2-sty help diff"},
        {{"sample", dir.path("x.sty"), "--strict"},
         "sample: unknown option --strict; see: vyr2-sty help sample"},
        {{"import-raw-tiles", style, dir.path("in.bmp"), dir.path("x.sty"), "--colors", "grey"},
         "vyr2-sty: --colours takes match, nearest or indexes"},
        {{"car-info", style, "two"}, "vyr2-sty: car-info takes a style file and a car number"},
        {{"export-sprites", style, dir.path("t"), "--start", "5", "--end", "4"},
         "vyr2-sty: --start 5 comes after --end 4"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(run(c.args), 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(err, c.line + '\n') << c.args.join(' ').toStdString();
        EXPECT_TRUE(out.isEmpty()) << c.args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.path("x.sty")));
    EXPECT_FALSE(QFile::exists(dir.path("t")));
}

TEST_F(Conventions, OptionsTakeTheirValueEitherWayAndDashDashEndsThem) {
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    ASSERT_EQ(run({"export-tiles", dir.path("s.sty"), dir.path("a"), "--pattern=A_%d.bmp"}), 0)
        << err.toStdString();
    ASSERT_EQ(run({"export-tiles", "--pattern", "B_%d.bmp", dir.path("s.sty"), dir.path("b")}), 0)
        << err.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("a/A_7.bmp")), readWholeFile(dir.path("b/B_7.bmp")));
    EXPECT_TRUE(readWholeFile(dir.path("a/A_7.bmp")).startsWith("BM"));

    // After "--" a name that looks like an option is a file name.
    EXPECT_EQ(run({"info", "--", "--help"}), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("--help")) << err.toStdString();
}

TEST_F(Conventions, CheckAndDiffTellFindingsFromUnreadableFiles) {
    EXPECT_EQ(run({"check", dir.path("missing.sty")}), 2);
    EXPECT_TRUE(err.contains(dir.path("missing.sty"))) << err.toStdString();
    EXPECT_EQ(run({"diff", dir.path("missing.sty"), dir.path("missing.sty")}), 2);
    writeWholeFileAtomic(dir.path("empty.sty"), QByteArray());
    EXPECT_EQ(run({"check", dir.path("empty.sty")}), 2);
}

TEST_F(Conventions, VersionNamesTheProjectVersionAndTheCommit) {
    QProcess git;
    git.start("git", {"-C", VYR2_SOURCE_DIR, "rev-parse", "--short", "HEAD"});
    const bool fromGit =
        git.waitForFinished() && git.exitStatus() == QProcess::NormalExit && git.exitCode() == 0;
    const QString commit = fromGit ? QString::fromUtf8(git.readAllStandardOutput()).trimmed() : "unknown";
    for (const char *option : {"--version", "-V"}) {
        ASSERT_EQ(run({option}), 0) << option;
        EXPECT_EQ(out, QStringLiteral("vyr2-sty %1 (%2)\n").arg(VYR2_PROJECT_VERSION, commit)) << option;
        EXPECT_TRUE(err.isEmpty());
    }
}

} // namespace
