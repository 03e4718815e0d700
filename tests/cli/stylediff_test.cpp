// vyr2-sty diff between the sample and a copy with changes planted in its bytes.

#include "clitest.h"

#include "fileio.h"
#include "stylebytes.h"
#include "styledocument.h"

#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct StyleDiffCommand : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("a.sty")}), 0) << err.toStdString();
        a = readWholeFile(dir.path("a.sty"));
        chunks = styleChunks(a);
    }

    QByteArray a;
    std::map<QByteArray, QByteArray> chunks;
};

TEST_F(StyleDiffCommand, EachPlantedChangeIsNamedAndTheExitStatusSaysWhetherTheyDiffer) {
    QByteArray b = a;
    const auto edit = [&](const QByteArray &tag, const std::function<void(QByteArray &)> &change) {
        QByteArray payload = styleChunks(b).at(tag);
        change(payload);
        b = withPayload(b, tag, payload);
    };
    // Tile 3 is the fourth 64-pixel column of page 0; its pixel (5, 7) changes.
    const qsizetype tilePixel = 7 * 256 + 3 * 64 + 5;
    const quint8 tileBefore = quint8(chunks.at("TILE")[tilePixel]);
    edit("TILE", [&](QByteArray &p) { p[tilePixel] = char(tileBefore ^ 0x55); });
    // Sprite 4's top-left pixel.
    const QByteArray sprx = chunks.at("SPRX");
    const quint32 sprite4 = qFromLittleEndian<quint32>(sprx.constData() + 4 * 8);
    const int sprite4Width = quint8(sprx[4 * 8 + 4]);
    const int sprite4Height = quint8(sprx[4 * 8 + 5]);
    const qsizetype spritePixel =
        (sprite4 >> 16 & 0xff) * 65536 + (sprite4 >> 8 & 0xff) * 256 + (sprite4 & 0xff);
    const quint8 spriteBefore = quint8(chunks.at("SPRG")[spritePixel]);
    edit("SPRG", [&](QByteArray &p) { p[spritePixel] = char(spriteBefore ^ 0x0F); });
    edit("SPRX", [](QByteArray &p) { p[5 * 8 + 6] = 7; });
    edit("PPAL", [](QByteArray &p) { p[physicalColourOffset(9, 200)] ^= 1; });
    const int palx3 = qFromLittleEndian<quint16>(chunks.at("PALX").constData() + 6);
    edit("PALX", [&](QByteArray &p) { qToLittleEndian<quint16>(quint16(palx3 + 1), p.data() + 6); });
    const int passengers = quint8(chunks.at("CARI")[5]);
    edit("CARI", [&](QByteArray &p) { p[5] = char(passengers + 1); });
    edit("OBJI", [](QByteArray &p) { p[0] = char(p[0] ^ 1); });
    edit("RECY", [](QByteArray &p) { p.append(char(250)); });
    edit("DELS", [](QByteArray &p) { p[3] = char(p[3] ^ 1); });
    // The first surface list ("grass") loses its first tile.
    const int grassFirst = qFromLittleEndian<quint16>(chunks.at("SPEC").constData());
    ASSERT_NE(grassFirst, 0);
    edit("SPEC", [](QByteArray &p) { p.remove(0, 2); });
    b += QByteArray("XTRA") + QByteArray::fromHex("02000000") + "hi";
    writeWholeFileAtomic(dir.path("b.sty"), b);

    const int deltaSprite = qFromLittleEndian<quint16>(chunks.at("DELX").constData());
    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("b.sty"), "--png", dir.path("d.png")}), 1)
        << err.toStdString();
    const QStringList expected = {
        "tile 3: pixels differ",
        "sprite 4 pixels differ",
        "sprite 5 pad: 0 -> 7",
        "palette 9: colours differ",
        QStringLiteral("virtual palette 3: %1 -> %2").arg(palx3).arg(palx3 + 1),
        QStringLiteral("car 0 passengers: %1 -> %2").arg(passengers).arg(passengers + 1),
        QStringLiteral("sprite %1 delta 0: bytes differ").arg(deltaSprite),
        "object info: bytes differ",
        "unknown chunk 0 \"XTRA\": only in the second file",
    };
    for (const QString &line : expected)
        EXPECT_TRUE(out.contains(line + QLatin1Char('\n'))) << line.toStdString() << "\n"
                                                            << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("recycle list: ["))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("surface list \"grass\": [%1, ").arg(grassFirst)))
        << out.toStdString();
    EXPECT_EQ(out.count(QLatin1Char('\n')), expected.size() + 2) << out.toStdString();

    // Tile 3, then sprite 4, each before on the left and after on the right of equal columns.
    const QImage picture(dir.path("d.png"));
    const int column = std::max(64, sprite4Width);
    ASSERT_EQ(picture.size(), QSize(2 * column + 12, 4 + 64 + 4 + sprite4Height + 4));
    const auto colour = [&](int palette, int index) {
        const char *entry = chunks.at("PPAL").constData() + physicalColourOffset(palette, index);
        return qRgb(quint8(entry[2]), quint8(entry[1]), quint8(entry[0]));
    };
    // Tile 3 shows virtual palette 3, which the change points at the next physical palette.
    EXPECT_EQ(picture.pixel(4 + 5, 4 + 7), colour(palx3, tileBefore));
    EXPECT_EQ(picture.pixel(8 + column + 5, 4 + 7), colour(palx3 + 1, tileBefore ^ 0x55));

    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("a.sty")}), 0);
    EXPECT_EQ(out, QString());
    EXPECT_EQ(run({"diff", dir.path("a.sty"), dir.path("none.sty")}), 2);
    EXPECT_EQ(run({"diff", dir.path("a.sty")}), 2);
}

} // namespace
