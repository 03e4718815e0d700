#include "graphics/tilepattern.h"

#include <gtest/gtest.h>

namespace {

QString formatted(const QString &pattern, int tile) {
    QString error;
    const std::optional<TilePattern> parsed = TilePattern::parse(pattern, error);
    EXPECT_TRUE(parsed) << pattern.toStdString() << ": " << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    return parsed ? parsed->format(tile) : QString();
}

TEST(TilePattern, FormatsLikeTheIntegerConversionItHolds) {
    const struct {
        const char *pattern;
        int tile;
        const char *name;
    } cases[] = {
        {"VYR2_TILE_%d.bmp", 3, "VYR2_TILE_3.bmp"},
        {"tile%d", 3, "tile3"},
        {"%i.bmp", 12, "12.bmp"},
        {"%u", 991, "991"},
        {"%04d", 7, "0007"},
        {"%-4d|", 7, "7   |"},
        {"%-04d|", 7, "7   |"},
        {"%+d", 7, "+7"},
        {"% d", 7, " 7"},
        {"%+ d", 7, "+7"},
        {"%+u", 7, "7"},
        {"% u", 7, "7"},
        {"%.3d", 7, "007"},
        {"%6.3d", 7, "   007"},
        {"%06.3d", 7, "   007"},
        {"%.0d|", 0, "|"},
        {"%.d|", 0, "|"},
        {"%.0d", 5, "5"},
        {"%2d", 123, "123"},
        {"%#d", 5, "5"},
        {"100%% %d", 5, "100% 5"},
        {"%%d%d%%", 1, "%d1%"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatted(QString::fromLatin1(c.pattern), c.tile), QString::fromLatin1(c.name))
            << c.pattern;
}

TEST(TilePattern, RefusesEveryPatternThatIsNotOneIntegerConversion) {
    const struct {
        const char *pattern;
        const char *reason;
    } cases[] = {
        {"", "it has no conversion"},
        {"plain.bmp", "it has no conversion"},
        {"100%%.bmp", "it has no conversion"},
        {"%d_%d.bmp", "it has more than one conversion"},
        {"%d%i", "it has more than one conversion"},
        {"%s.bmp", "\"%s\" is not an integer conversion"},
        {"%n", "\"%n\" is not an integer conversion"},
        {"%x", "\"%x\" is not an integer conversion"},
        {"%5c", "\"%5c\" is not an integer conversion"},
        {"%f", "\"%f\" is not an integer conversion"},
        {"%-%", "\"%-%\" is not an integer conversion"},
        {"%1$d", "\"%1$\" is not an integer conversion"},
        {"%1%2", "\"%1%\" is not an integer conversion"},
        {"%*d", "\"*\" widths and precisions take an argument of their own"},
        {"%.*d", "\"*\" widths and precisions take an argument of their own"},
        {"%ld", "length modifiers such as in \"%ld\" are not allowed"},
        {"%hhd", "length modifiers such as in \"%hh\" are not allowed"},
        {"%zu", "length modifiers such as in \"%zu\" are not allowed"},
        {"tile%", "it ends inside the conversion \"%\""},
        {"tile%05", "it ends inside the conversion \"%05\""},
        {"%256d", "a width or precision above 255"},
        {"%.99999999999d", "a width or precision above 255"},
    };
    for (const auto &c : cases) {
        const QString pattern = QString::fromLatin1(c.pattern);
        QString error;
        EXPECT_FALSE(TilePattern::parse(pattern, error)) << c.pattern;
        // The pattern is quoted as typed, even where it holds markers such as "%1".
        EXPECT_EQ(error, QStringLiteral("The file name pattern \"") + pattern +
                             QStringLiteral("\" cannot be used: ") + QString::fromLatin1(c.reason) +
                             QStringLiteral(". It must hold exactly one %d, %i or %u for the tile number; "
                                            "write %% for a percent sign."))
            << c.pattern;
    }
}

TEST(TilePattern, WidthsUpToTheLimitAreKept) {
    EXPECT_EQ(formatted(QStringLiteral("%255d"), 1).size(), 255);
    EXPECT_EQ(formatted(QStringLiteral("%.255d"), 1).size(), 255);
}

} // namespace
