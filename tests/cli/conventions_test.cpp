// What a script sees of vyr2-sty's command line: help pages, usage errors in one line with exit
// status 2, options in both spellings, the version.
#include "clitest.h"
#include "platform/fileio.h"
#include "support/sanitizers.h"
#include "support/stylebytes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
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
                                  "import-tiles",
                                  "export-raw-tiles",
                                  "import-raw-tiles",
                                  "render-tiles",
                                  "export-sprites",
                                  "import-sprite",
                                  "import-sprites",
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
    // --png as export-sprites has it: the pattern's extension becomes .png.
    ASSERT_EQ(run({"export-tiles", dir.path("s.sty"), dir.path("c"), "--png"}), 0) << err.toStdString();
    EXPECT_TRUE(readWholeFile(dir.path("c/VYR2_TILE_7.png")).startsWith("\x89PNG\r\n\x1a\n"));
    ASSERT_EQ(run({"export-tiles", dir.path("s.sty"), dir.path("c"), "--png", "--pattern=t.%d.bmp"}), 0);
    EXPECT_TRUE(readWholeFile(dir.path("c/t.7.png")).startsWith("\x89PNG\r\n\x1a\n"));

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

TEST_F(Conventions, SavingCommandsSayInOneLineWhatTheyWroteAndTheChunkLogOnlyWhenVerbose) {
    // The size in KiB, rounded up, of the file as it lies on disk.
    const auto wrote = [](const QString &path) {
        return QStringLiteral("wrote %1 (%2 KiB)\n").arg(path).arg((QFileInfo(path).size() + 1023) / 1024);
    };
    const auto savedTo = [](const QString &path) {
        return QStringLiteral("file saved to \"%1\" size: %2 Bytes").arg(path).arg(QFileInfo(path).size());
    };
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out, wrote(dir.path("s.sty")) +
                       QStringLiteral("car script saved to \"%1\"\n").arg(dir.path("nyc.gci")));
    EXPECT_TRUE(err.isEmpty());
    ASSERT_EQ(run({"resave", dir.path("s.sty"), dir.path("r")}), 0) << err.toStdString();
    EXPECT_EQ(out, wrote(dir.path("r.sty")));
    EXPECT_TRUE(err.isEmpty());
    ASSERT_EQ(run({"mirror-doors", dir.path("s.sty"), dir.path("m.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out, wrote(dir.path("m.sty")));
    ASSERT_EQ(run({"unpack", dir.path("s.sty"), dir.path("folder")}), 0) << err.toStdString();
    ASSERT_EQ(run({"pack", dir.path("folder"), dir.path("p.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out, wrote(dir.path("p.sty")));
    EXPECT_TRUE(err.isEmpty());

    ASSERT_EQ(run({"mirror-doors", dir.path("s.sty"), dir.path("v.sty"), "--verbose"}), 0)
        << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), "creating memory stream...");
    EXPECT_EQ(lines.filter(QRegularExpression("^saved chunk \"CARI\" offset: ")).size(), 1)
        << out.toStdString();
    EXPECT_TRUE(lines.contains(savedTo(dir.path("v.sty")))) << out.toStdString();
    EXPECT_EQ(readWholeFile(dir.path("v.sty")), readWholeFile(dir.path("m.sty")));
    ASSERT_EQ(run({"pack", dir.path("folder"), dir.path("p.sty"), "--verbose"}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("creating memory stream...\nsaved chunk \"TILE\" offset: "))
        << out.toStdString();
    EXPECT_TRUE(out.endsWith(savedTo(dir.path("p.sty")) + '\n')) << out.toStdString();
}

TEST_F(Conventions, JsonReportsAreOneDocumentWithTheFilesFigures) {
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    const std::map<QByteArray, QByteArray> chunks = styleChunks(readWholeFile(dir.path("s.sty")));
    const auto document = [this](const QStringList &args, int status) {
        EXPECT_EQ(run(args), status) << args.join(' ').toStdString() << err.toStdString();
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        EXPECT_TRUE(json.isObject());
        return json.object();
    };

    const QJsonObject info = document({"info", dir.path("s.sty"), "--json"}, 0);
    EXPECT_EQ(info.keys(),
              QStringList({"cars", "delta_bytes", "delta_entries", "file", "physical_palettes",
                           "recycle_list", "sprite_pages", "sprites", "sprites_per_kind",
                           "surface_list_lengths", "surface_words_unended", "tile_pages", "tiles",
                           "virtual_palettes", "virtual_palettes_per_kind", "warnings"}));
    // A tile is 64*64 bytes, a physical palette 256 4-byte colours, a sprite entry and a
    // virtual palette entry 8 and 2 bytes.
    EXPECT_EQ(info["tiles"].toInt(), chunks.at("TILE").size() / 4096);
    EXPECT_EQ(info["tile_pages"].toInt(), chunks.at("TILE").size() / 65536);
    EXPECT_EQ(info["physical_palettes"].toInt(), chunks.at("PPAL").size() / 1024);
    EXPECT_EQ(info["sprites"].toInt(), chunks.at("SPRX").size() / 8);
    EXPECT_EQ(info["virtual_palettes"].toInt(), chunks.at("PALX").size() / 2);
    EXPECT_EQ(info["delta_bytes"].toInt(), chunks.at("DELS").size());
    QJsonArray recycled;
    for (const char model : chunks.at("RECY"))
        if (quint8(model) != 255)
            recycled.append(quint8(model));
    EXPECT_EQ(info["recycle_list"].toArray(), recycled);
    EXPECT_EQ(info["file"].toString(), dir.path("s.sty"));
    EXPECT_EQ(info["warnings"].toArray(), QJsonArray());

    // Sprite 12's entry: x, y and page in its first four bytes, then width and height.
    const QByteArray entry = chunks.at("SPRX").mid(8 * 12, 8);
    const QJsonObject sprite = document({"sprite-info", dir.path("s.sty"), "12", "--json"}, 0);
    EXPECT_EQ(sprite["sprite"].toInt(), 12);
    EXPECT_EQ(sprite["x"].toInt(), quint8(entry[0]));
    EXPECT_EQ(sprite["y"].toInt(), quint8(entry[1]));
    EXPECT_EQ(sprite["page"].toInt(), quint8(entry[2]));
    EXPECT_EQ(sprite["width"].toInt(), quint8(entry[4]));
    EXPECT_EQ(sprite["height"].toInt(), quint8(entry[5]));
    EXPECT_TRUE(sprite["file_name"].toString().endsWith("_12.bmp")) << out.toStdString();

    // Car 0's record opens the car chunk: model, sprite, w, h, num_remaps, passengers.
    const QByteArray car = chunks.at("CARI");
    const QJsonObject record = document({"car-info", dir.path("s.sty"), "0", "--json"}, 0);
    EXPECT_EQ(record["model"].toInt(), quint8(car[0]));
    EXPECT_EQ(record["w"].toInt(), quint8(car[2]));
    EXPECT_EQ(record["h"].toInt(), quint8(car[3]));
    EXPECT_EQ(record["remap"].toArray().size(), quint8(car[4]));
    EXPECT_EQ(record["passengers"].toInt(), quint8(car[5]));
    EXPECT_TRUE(record["physics"].isObject()) << "the sample's nyc.gci lies beside it";
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();

    const QJsonObject checked = document({"check", dir.path("s.sty"), "--json"}, 0);
    EXPECT_EQ(checked.keys(), QStringList({"errors", "file", "findings", "warnings"}));
    EXPECT_EQ(checked["errors"].toInt(), 0);
    EXPECT_EQ(checked["findings"].toArray().size(), checked["warnings"].toInt());

    ASSERT_EQ(run({"mirror-doors", dir.path("s.sty"), dir.path("m.sty")}), 0);
    ASSERT_EQ(run({"diff", dir.path("s.sty"), dir.path("m.sty")}), 1);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    const QJsonObject diff = document({"diff", dir.path("s.sty"), dir.path("m.sty"), "--json"}, 1);
    EXPECT_EQ(diff.keys(), QStringList({"a", "b", "differences", "equal"}));
    EXPECT_FALSE(diff["equal"].toBool());
    EXPECT_EQ(diff["differences"].toArray(), QJsonArray::fromStringList(lines));
    EXPECT_TRUE(document({"diff", dir.path("s.sty"), dir.path("s.sty"), "--json"}, 0)["equal"].toBool());
}

TEST_F(Conventions, PicturesTakeTheFormatOfTheirNameAndDashIsStandardOutput) {
    ASSERT_EQ(run({"sample", dir.path("s.sty")}), 0) << err.toStdString();
    ASSERT_EQ(run({"render-tiles", dir.path("s.sty"), dir.path("t.png")}), 0) << err.toStdString();
    const QImage grid(dir.path("t.png"));
    ASSERT_FALSE(grid.isNull());
    EXPECT_TRUE(readWholeFile(dir.path("t.png")).startsWith("\x89PNG\r\n\x1a\n"));
    ASSERT_EQ(run({"render-tiles", dir.path("s.sty"), dir.path("t.bmp"), "--scale", "3"}), 0)
        << err.toStdString();
    const QByteArray bitmap = readWholeFile(dir.path("t.bmp"));
    EXPECT_TRUE(bitmap.startsWith("BM"));
    // The width and height in the header, and 24 bits per pixel.
    EXPECT_EQ(qFromLittleEndian<qint32>(bitmap.constData() + 18), grid.width() * 3);
    EXPECT_EQ(std::abs(qFromLittleEndian<qint32>(bitmap.constData() + 22)), grid.height() * 3);
    EXPECT_EQ(qFromLittleEndian<quint16>(bitmap.constData() + 28), 24);
    const QImage scaled(dir.path("t.bmp"));
    EXPECT_EQ(scaled.pixel(3 * 40 + 2, 3 * 50 + 1), grid.pixel(40, 50));

    ASSERT_EQ(run({"render-sprites", dir.path("s.sty"), dir.path("s.bmp")}), 0) << err.toStdString();
    EXPECT_TRUE(readWholeFile(dir.path("s.bmp")).startsWith("BM"));
    ASSERT_EQ(run({"render-sprites", dir.path("s.sty"), "-"}), 0) << err.toStdString();
    EXPECT_TRUE(outBytes.startsWith("\x89PNG\r\n\x1a\n")) << "the picture itself, no report";
    EXPECT_FALSE(QImage::fromData(outBytes).isNull());
    EXPECT_EQ(run({"render-tiles", dir.path("s.sty"), dir.path("t.jpg")}), 1);
    EXPECT_FALSE(QFile::exists(dir.path("t.jpg")));
    EXPECT_EQ(run({"render-tiles", dir.path("s.sty"), dir.path("t.png"), "--scale", "0"}), 2);

    ASSERT_EQ(run({"export-pal", dir.path("s.sty"), "3", dir.path("three.pal")}), 0) << err.toStdString();
    ASSERT_EQ(run({"export-pal", dir.path("s.sty"), "3", "-"}), 0) << err.toStdString();
    EXPECT_EQ(outBytes, readWholeFile(dir.path("three.pal")));
    EXPECT_FALSE(QFile::exists(dir.path("-")));
    EXPECT_FALSE(QFile::exists(dir.path("-.pal")));
}

TEST_F(Conventions, TheReadmesCommandListIsTheHelpText) {
    ASSERT_EQ(run({"--help"}), 0);
    const QString readme = QString::fromUtf8(readWholeFile(QStringLiteral(VYR2_SOURCE_DIR "/README.md")));
    const qsizetype section = readme.indexOf("\n## The command-line tool\n");
    ASSERT_GE(section, 0);
    const qsizetype start = readme.indexOf("\n```\n", section) + 5;
    const qsizetype end = readme.indexOf("```\n", start);
    ASSERT_GT(start, 5);
    ASSERT_GT(end, start);
    EXPECT_EQ(readme.mid(start, end - start).toStdString(), out.toStdString());
}

TEST_F(Conventions, ALongCommandDrawsProgressOnATerminalOnly) {
    ASSERT_EQ(run({"sample", "--large", dir.path("big.sty")}), 0) << err.toStdString();
#ifdef VYR2_ASAN
    // The sanitizers slow the import tenfold: a tenth of the sprites still runs for seconds.
    const QStringList range = {"--end", "299"};
#else
    const QStringList range;
#endif
    ASSERT_EQ(run(QStringList{"export-sprites", dir.path("big.sty"), dir.path("sprites")} + range), 0)
        << err.toStdString();
    // Every one of the 3001 sprites imported back: the longest of the range commands.
    const QStringList importAll = QStringList{"import-sprites",  dir.path("big.sty"), dir.path("sprites"),
                                              dir.path("o.sty"), "--choice",          "pixels-only"} +
                                  range;
    QElapsedTimer timer;
    // Under script(1) standard error is a terminal.
    const auto onTerminal = [](const QStringList &args) {
        QProcess script;
        script.start("script",
                     {"-qec", QStringLiteral(VYR2_STY_PROGRAM " '%1'").arg(args.join("' '")), "/dev/null"});
        EXPECT_TRUE(script.waitForFinished(120000));
        EXPECT_EQ(script.exitCode(), 0);
        return QString::fromUtf8(script.readAllStandardOutput());
    };
    // unpack counts the files it makes; the bar comes only once a command has run half a second.
    ASSERT_EQ(run({"unpack", dir.path("big.sty"), dir.path("piped")}), 0) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << "standard error is a pipe here: no bar";
    timer.start();
    const QString unpacked = onTerminal({"unpack", dir.path("big.sty"), dir.path("shown")});
    if (timer.elapsed() > 700) {
        EXPECT_TRUE(unpacked.contains(QRegularExpression("\r\\[#* *\\] \\d+% unpacking")));
    }
    timer.restart();
    ASSERT_EQ(run(importAll), 0) << err.toStdString();
    const qint64 took = timer.elapsed();
    EXPECT_TRUE(err.isEmpty()) << "standard error is a pipe here: no bar";
    if (took < 1000)
        GTEST_SKIP() << "the import took " << took << " ms, too short to be sure of a bar";

    const QString terminal = onTerminal(importAll);
    EXPECT_TRUE(terminal.contains(QRegularExpression("\r\\[#* *\\] \\d+% "))) << terminal.toStdString();
    // The bar is cleared before the report.
    EXPECT_TRUE(terminal.contains(QStringLiteral("\r\x1b[K%1 sprites imported").arg(out.section(' ', 0, 0))))
        << terminal.toStdString();
}

} // namespace
