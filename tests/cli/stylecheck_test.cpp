// vyr2-sty check on the samples and on copies of the sample with one fault planted in its bytes.

#include "clitest.h"

#include "platform/fileio.h"
#include "support/stylebytes.h"

#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

quint16 word(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
void setWord(QByteArray &bytes, qsizetype at, quint16 value) {
    qToLittleEndian(value, bytes.data() + at);
}

struct StyleCheck : CliTest {
    void SetUp() override {
        ASSERT_EQ(run({"sample", dir.path("start.sty")}), 0) << err.toStdString();
        start = readWholeFile(dir.path("start.sty"));
        chunks = styleChunks(start);
    }

    // Checks a copy of the sample whose chunk `tag` the edit changed.
    int checkEdited(const QByteArray &tag, const std::function<void(QByteArray &)> &edit) {
        QByteArray payload = chunks.at(tag);
        edit(payload);
        writeWholeFileAtomic(dir.path("fault.sty"), withPayload(start, tag, payload));
        return run({"check", dir.path("fault.sty")});
    }

    QByteArray start;
    std::map<QByteArray, QByteArray> chunks;
};

TEST_F(StyleCheck, TheSamplesPass) {
    EXPECT_EQ(run({"check", dir.path("start.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out, QString());
    ASSERT_EQ(run({"sample", "--large", "--force", dir.path("large.sty")}), 0) << err.toStdString();
    EXPECT_EQ(run({"check", dir.path("large.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out, QString());
}

TEST_F(StyleCheck, EachPlantedFaultIsReportedAsAnError) {
    const int sprites = int(chunks.at("SPRX").size() / 8);
    const int spritePages = int(chunks.at("SPRG").size() / 65536);
    const int palettes = int(chunks.at("PPAL").size() / 1024);
    const int tiles = int(chunks.at("TILE").size() / 65536 * 16);
    const int carSprites = word(chunks.at("SPRB"), 0);
    const int last = sprites - 1;
    // Car records: 14 fixed bytes, the remaps, the door count and two bytes a door.
    const QByteArray cari = chunks.at("CARI");
    qsizetype lastCar = 0;
    int cars = 0;
    for (qsizetype at = 0; at < cari.size(); ++cars) {
        lastCar = at;
        at += 14 + quint8(cari[at + 4]);
        at += 1 + 2 * quint8(cari[at]);
    }
    const QByteArray delx = chunks.at("DELX");
    const int firstDeltaSprite = word(delx, 0);
    const int firstDeltaCount = quint8(delx[2]);
    const int deltaBytes = int(chunks.at("DELS").size());
    ASSERT_GT(firstDeltaCount, 0);
    ASSERT_GT(delx.size(), 4 + 2 * firstDeltaCount) << "the sample needs two delta entries";
    ASSERT_GT(word(delx, 4), 2) << "the first delta must hold a run";

    struct Fault {
        const char *tag;
        std::function<void(QByteArray &)> edit;
        QString line;
    };
    const std::vector<Fault> faults = {
        {"SPRX", [](QByteArray &p) { p[2 * 8 + 2] = char(200); },
         QStringLiteral("error: sprite 2: page 200 is past the %1 pages of the sprite graphics.")
             .arg(spritePages)},
        {"SPRX",
         [&](QByteArray &p) {
             p[last * 8] = char(250);
             p[last * 8 + 4] = char(10);
         },
         QStringLiteral("error: sprite %1: its 10*%2 pixels at x 250, y %3 run off page %4.")
             .arg(last)
             .arg(quint8(chunks.at("SPRX")[last * 8 + 5]))
             .arg(quint8(chunks.at("SPRX")[last * 8 + 1]))
             .arg(quint8(chunks.at("SPRX")[last * 8 + 2]))},
        {"PALX", [](QByteArray &p) { setWord(p, 5 * 2, 700); },
         QStringLiteral("error: virtual palette 5: physical palette 700 is past the %1 physical palettes.")
             .arg(palettes)},
        {"PALB", [](QByteArray &p) { setWord(p, 14, 9000); }, QStringLiteral("add up to")},
        {"SPRB", [](QByteArray &p) { setWord(p, 2, word(p, 2) + 1); },
         QStringLiteral("but the sprite index holds %1 sprites.").arg(sprites)},
        {"CARI", [&](QByteArray &p) { p[lastCar + 1] = char(p[lastCar + 1] + 1); },
         QStringLiteral("error: car %1 (model %2): its sprites %3 to %4 are not among the %4 car sprites.")
             .arg(cars - 1)
             .arg(quint8(chunks.at("CARI")[lastCar]))
             .arg(carSprites + 1 - quint8(chunks.at("CARI")[lastCar + 1]) - 1)
             .arg(carSprites)},
        {"SPEC", [](QByteArray &p) { setWord(p, 0, 9999); },
         QStringLiteral("error: surface list \"grass\": tile 9999 is past the %1 tiles.").arg(tiles)},
        {"DELX", [](QByteArray &p) { setWord(p, 0, 9999); },
         QStringLiteral(
             "error: delta entry 0 (sprite 9999): the style has no sprite 9999; it has %1 sprites.")
             .arg(sprites)},
        {"DELX", [&](QByteArray &p) { setWord(p, 4 + 2 * firstDeltaCount, firstDeltaSprite); },
         QStringLiteral("error: delta entry 1 (sprite %1): the sprite already has delta entry 0, which the "
                        "editor shows instead.")
             .arg(firstDeltaSprite)},
        {"DELS", [](QByteArray &p) { p.chop(1); }, QStringLiteral("bytes of the delta store.")},
        {"DELS", [](QByteArray &p) { setWord(p, 0, 0xFF00); },
         QStringLiteral("error: delta entry 0 (sprite %1): delta 0 draws").arg(firstDeltaSprite)},
        {"RECY", [](QByteArray &p) { p = QByteArray(1, char(250)); },
         QStringLiteral("error: recycle list entry 0: model 250 has no car record.")},
    };
    ASSERT_GT(deltaBytes, 0);
    for (const Fault &fault : faults) {
        EXPECT_EQ(checkEdited(fault.tag, fault.edit), 1) << fault.line.toStdString() << err.toStdString();
        EXPECT_TRUE(out.contains(fault.line)) << fault.line.toStdString() << "\n" << out.toStdString();
        EXPECT_EQ(out.count(QLatin1Char('\n')), 1) << out.toStdString();
    }
}

TEST_F(StyleCheck, TheReadersWarningsHeadTheListAndACarFaultIsOneLine) {
    // The file cut one byte short: its last chunk runs past the end, which only the reader sees.
    const QByteArray surfaceWords = chunks.at("SPEC");
    ASSERT_TRUE(start.endsWith(surfaceWords)) << "the surface lists must be the last chunk";
    writeWholeFileAtomic(dir.path("cut.sty"), start.chopped(1));
    EXPECT_EQ(runProgram({"check", dir.path("cut.sty")}), 0) << err.toStdString();
    EXPECT_EQ(out.toStdString(),
              QStringLiteral("warning: chunk \"SPEC\" runs past the end of the file: %1 of %2 bytes read\n")
                  .arg(surfaceWords.size() - 1)
                  .arg(surfaceWords.size())
                  .toStdString());

    // Car 3 given 200 more sprites: every later car's sprites move past the car sprites with it,
    // but the fault is car 3's alone.
    const QByteArray cari = chunks.at("CARI");
    std::vector<qsizetype> records;
    for (qsizetype at = 0; at < cari.size();) {
        records.push_back(at);
        at += 14 + quint8(cari[at + 4]);
        at += 1 + 2 * quint8(cari[at]);
    }
    ASSERT_GT(records.size(), 5u);
    int sum = 0;
    for (int c = 0; c <= 3; ++c)
        sum += quint8(cari[records[std::size_t(c)] + 1]);
    const int car3 = quint8(cari[records[3] + 1]);
    ASSERT_LT(car3, 56);
    int laterWithSprites = 0;
    for (std::size_t c = 4; c < records.size(); ++c)
        laterWithSprites += quint8(cari[records[c] + 1]) > 0 ? 1 : 0;
    ASSERT_GT(laterWithSprites, 0);
    QByteArray planted = cari;
    planted[records[3] + 1] = char(car3 + 200);
    writeWholeFileAtomic(dir.path("car3.sty"), withPayload(start, "CARI", planted));
    EXPECT_EQ(runProgram({"check", dir.path("car3.sty")}), 1) << err.toStdString();
    EXPECT_EQ(out.toStdString(),
              QStringLiteral("error: car 3 (model %1): its sprites %2 to %3 are not among the %4 car "
                             "sprites; the sprites of the %5 cars with sprites after it follow on past "
                             "them too.\n")
                  .arg(quint8(cari[records[3]]))
                  .arg(sum - car3)
                  .arg(sum + 200 - 1)
                  .arg(word(chunks.at("SPRB"), 0))
                  .arg(laterWithSprites)
                  .toStdString());
}

TEST_F(StyleCheck, FewerPalettesThanTilesIsAWarningOnly) {
    EXPECT_EQ(checkEdited("PALB", [](QByteArray &p) { setWord(p, 0, 3); }), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("warning: palette counts: 3 tile palettes for ")))
        << out.toStdString();
    EXPECT_EQ(run({"check", dir.path("missing.sty")}), 2);
    EXPECT_EQ(run({"check"}), 2);
}

} // namespace
