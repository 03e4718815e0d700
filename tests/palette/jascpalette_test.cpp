#include "palette/jascpalette.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString NotJasc = "This is not a 256-color jasc palette.. it looks more like weed to me.";

TEST(JascColour, FieldsAreSplitByBlanksAndCommas) {
    const quint32 red = colourValue(255, 0, 0);
    for (const char *line :
         {"255,0,0", "255 0 0", "   255    0   0", "255, 0,  0", "\t255\t0 \t0", "255 0 0 99",
          "25\x01"
          "5 0 0\r"})
        EXPECT_EQ(jascColour(line), red) << line;
}

TEST(JascColour, FieldsReadAsTheLowBitsOfTheirLeadingNumber) {
    const struct {
        const char *line;
        quint32 colour;
    } cases[] = {
        {"12a 5x 7", colourValue(12, 5, 7)}, {"-1 256 511", colourValue(255, 0, 255)},
        {"+5 x -0", colourValue(5, 0, 0)},   {"4294967297 -4294967295 0", colourValue(1, 1, 0)},
        {"10 20", colourValue(10, 20, 0)},   {"1,,3", colourValue(1, 0, 3)},
        {"", colourValue(0, 0, 0)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(jascColour(c.line), c.colour) << c.line;
}

TEST(JascText, CrLfOrBothEndALine) {
    EXPECT_EQ(textLines("a\r\nb\rc\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(textLines("a\n\nb\r\n"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_EQ(textLines("\n\r"), (QList<QByteArray>{"", ""}));
}

class JascPalette : public ::testing::Test {
protected:
    QString writeFile(const QByteArray &bytes) {
        const QString path = dir.path("in.pal");
        writeWholeFileAtomic(path, bytes);
        return path;
    }
    // Imports `bytes`, answering the picker with `palette` when it is asked.
    bool import(const QByteArray &bytes, const std::optional<QString> &palette = QString("9")) {
        prompts.queueText(writeFile(bytes));
        prompts.queueText(palette);
        return importJascPalette(doc, prompts);
    }
    QByteArray header(const QByteArray &end) const { return "JASC-PAL" + end + "0100" + end + "256" + end; }

    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument doc = makeSampleStyle();
};

TEST_F(JascPalette, ExportThenImportCopiesAllColours) {
    prompts.queueText(dir.path("five.txt"));
    prompts.queueText(QString("5"));
    const QString path = exportJascPalette(doc, prompts);
    EXPECT_EQ(path, dir.path("five.pal"));
    const QByteArray text = readWholeFile(path);
    EXPECT_TRUE(text.startsWith("JASC-PAL\r\n0100\r\n256\r\n"));
    EXPECT_EQ(text.count("\r\n"), 259);
    EXPECT_EQ(text.count('\n'), 259);

    const StyleDocument before = doc;
    prompts.queueText(path);
    prompts.queueText(QString("5"));
    ASSERT_TRUE(importJascPalette(doc, prompts));
    EXPECT_TRUE(doc == before) << "the same palette stays as it was";

    prompts.queueText(path);
    prompts.queueText(QString("9"));
    ASSERT_TRUE(importJascPalette(doc, prompts));
    EXPECT_EQ(ClutToPal(doc, 9), ClutToPal(before, 5));
    EXPECT_EQ(prompts.shown(), (QStringList{"save jasc paint shop pro palette|*.pal", "palette picker 0",
                                            "open jasc paint shop pro palette|*.pal", "palette picker 0",
                                            "open jasc paint shop pro palette|*.pal", "palette picker 0"}));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(JascPalette, EveryLineEndReads) {
    for (const QByteArray end : {"\r", "\n", "\r\n"}) {
        QByteArray text = header(end);
        for (int c = 0; c < 256; ++c)
            text += QByteArray::number(c) + " 1 2" + end;
        ASSERT_TRUE(import(text)) << end.toHex().constData();
        EXPECT_EQ(directclutacces(doc, 9, 200, false), colourValue(200, 1, 2));
        EXPECT_EQ(directclutacces(doc, 9, 255, false), colourValue(255, 1, 2));
    }
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(JascPalette, AForeignHeaderIsRefusedBeforeThePicker) {
    const StyleDocument before = doc;
    const QByteArray colours = QByteArray("1 2 3\r\n").repeated(256);
    for (const QByteArray head :
         {"jasc-pal\r\n0100\r\n256\r\n", "JASC-PAL\r\n0100\r\n255\r\n", "JASC-PAL \r\n0100\r\n256\r\n"}) {
        prompts.queueText(writeFile(head + colours));
        EXPECT_FALSE(importJascPalette(doc, prompts));
    }
    EXPECT_EQ(prompts.messages(), QStringList(3, NotJasc));
    EXPECT_FALSE(prompts.shown().contains("palette picker 0"));
    EXPECT_TRUE(doc == before);

    // The version line is not looked at.
    EXPECT_TRUE(import("JASC-PAL\r\nwhatever\r\n256\r\n" + colours));
}

TEST_F(JascPalette, AnEarlyEndKeepsTheColoursWrittenAndSaysSo) {
    const StyleDocument before = doc;
    EXPECT_FALSE(import("JASC-PAL\r\n0100", std::nullopt));
    EXPECT_EQ(prompts.messages(), QStringList{"The palette file ends before its third line."});
    EXPECT_TRUE(doc == before);
    prompts = ScriptedPrompts();

    EXPECT_TRUE(import(header("\r\n") + QByteArray("7 8 9\r\n").repeated(10)));
    EXPECT_EQ(prompts.messages(),
              QStringList{"The palette file ends after 10 of its 256 colours; only those were imported."});
    EXPECT_EQ(directclutacces(doc, 9, 9, false), colourValue(7, 8, 9));
    EXPECT_EQ(directclutacces(doc, 9, 10, false), directclutacces(before, 9, 10, false));
}

TEST_F(JascPalette, ThePickerDecidesWhetherAnythingHappens) {
    const StyleDocument before = doc;
    const QByteArray text = header("\n") + QByteArray("1 2 3\n").repeated(256);
    EXPECT_FALSE(import(text, std::nullopt));
    // The sample has 128 palettes: colours written past them would not be saved.
    EXPECT_FALSE(import(text, QString("128")));
    EXPECT_EQ(prompts.messages(),
              QStringList{"There is no palette 128: this style file has 128 palettes (0 to 127)."});
    EXPECT_FALSE(import(text, QString("x")));
    EXPECT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(doc == before);

    prompts.queueText(dir.path("out"));
    prompts.queueText(std::nullopt);
    EXPECT_TRUE(exportJascPalette(doc, prompts).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path("out.pal")));
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
