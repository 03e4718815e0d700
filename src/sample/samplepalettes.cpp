#include "sample/samplepalettes.h"

#include "sample/samplepainting.h"
#include "style/filerecords.h"
#include "style/styledocument.h"

#include <QColor>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<QRgb, 16> AccentColours = {
    qRgb(255, 255, 255), qRgb(255, 222, 40), qRgb(255, 140, 20),  qRgb(230, 30, 30),
    qRgb(120, 10, 10),   qRgb(40, 200, 60),  qRgb(40, 90, 255),   qRgb(60, 230, 240),
    qRgb(220, 50, 200),  qRgb(120, 70, 30),  qRgb(190, 190, 190), qRgb(60, 60, 60),
    qRgb(255, 150, 190), qRgb(170, 255, 60), qRgb(20, 30, 110),   qRgb(220, 170, 50)};

int channelMix(int from, int to, int step, int steps) {
    return from + (to - from) * step / (steps - 1);
}

QRgb mix(QRgb from, QRgb to, int step, int steps) {
    return qRgb(channelMix(qRed(from), qRed(to), step, steps),
                channelMix(qGreen(from), qGreen(to), step, steps),
                channelMix(qBlue(from), qBlue(to), step, steps));
}

void putColour(QByteArray &store, int palette, int colour, QRgb rgb) {
    char *entry = store.data() + physicalColourOffset(palette, colour);
    entry[0] = static_cast<char>(qBlue(rgb));
    entry[1] = static_cast<char>(qGreen(rgb));
    entry[2] = static_cast<char>(qRed(rgb));
    entry[3] = 0;
}

void putRamp(QByteArray &store, int palette, Ramp ramp, const RampColours &colours) {
    for (int i = 0; i < ramp.steps; ++i)
        putColour(store, palette, ramp.first + i, mix(colours.dark, colours.light, i, ramp.steps));
}

QRgb scaled(QRgb c, int percentRed, int percentGreen, int percentBlue) {
    return qRgb(std::min(255, qRed(c) * percentRed / 100), std::min(255, qGreen(c) * percentGreen / 100),
                std::min(255, qBlue(c) * percentBlue / 100));
}

} // namespace

void writeSamplePalette(QByteArray &store, int palette, const PaletteRecipe &recipe) {
    putColour(store, palette, 0, qRgb(0, 0, 0));
    putRamp(store, palette, RampA, recipe.a);
    putRamp(store, palette, RampB, recipe.b);
    putRamp(store, palette, RampC, recipe.c);
    for (int i = 0; i < static_cast<int>(AccentColours.size()); ++i)
        putColour(store, palette, FirstAccent + i, AccentColours[static_cast<std::size_t>(i)]);
}

PaletteRecipe tintedRecipe(const PaletteRecipe &recipe, int variant) {
    // Red, green and blue each take one base-7 digit of the variant as a step of 3 percent around
    // neutral, so variants below 343 never repeat and variant 0 keeps the recipe.
    constexpr int steps[7] = {0, 1, -1, 2, -2, 3, -3};
    const int r = 100 + 3 * steps[variant % 7];
    const int g = 100 + 3 * steps[variant / 7 % 7];
    const int b = 100 + 3 * steps[variant / 49 % 7];
    const auto tint = [&](const RampColours &c) {
        return RampColours{scaled(c.dark, r, g, b), scaled(c.light, r, g, b)};
    };
    return {tint(recipe.a), tint(recipe.b), tint(recipe.c)};
}

RampColours rampAround(QRgb colour) {
    // Linear from a fifth of the colour to a little above it, so the middle of the ramp keeps
    // the colour's saturation.
    const auto lift = [](int channel) {
        return std::min(255, channel * 115 / 100 + 40);
    };
    return {qRgb(qRed(colour) / 5, qGreen(colour) / 5, qBlue(colour) / 5),
            qRgb(lift(qRed(colour)), lift(qGreen(colour)), lift(qBlue(colour)))};
}

PaletteRecipe carRecipe(QRgb body) {
    return {
        rampAround(body), {qRgb(10, 20, 40), qRgb(150, 200, 235)}, {qRgb(12, 12, 14), qRgb(225, 225, 230)}};
}

PaletteRecipe pedRecipe(QRgb clothes, QRgb skin, QRgb hair) {
    return {rampAround(clothes), rampAround(skin), rampAround(hair)};
}

QRgb wheelColour(int i) {
    const int hue = (i * 222) % 360; // 222 degrees is close to the golden angle
    const int saturation = 150 + (i * 37) % 90;
    const int value = 170 + (i * 53) % 80;
    return QColor::fromHsv(hue, saturation, value).rgb();
}
