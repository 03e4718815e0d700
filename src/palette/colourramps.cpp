#include "palette/colourramps.h"

#include "style/styledocument.h"

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

} // namespace

void writeRampPalette(QByteArray &store, int palette, const PaletteRecipe &recipe) {
    putColour(store, palette, 0, qRgb(0, 0, 0));
    putRamp(store, palette, RampA, recipe.a);
    putRamp(store, palette, RampB, recipe.b);
    putRamp(store, palette, RampC, recipe.c);
    for (int i = 0; i < static_cast<int>(AccentColours.size()); ++i)
        putColour(store, palette, FirstAccent + i, AccentColours[static_cast<std::size_t>(i)]);
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

PaletteRecipe pedRecipe(QRgb clothes, QRgb skin, QRgb hair) {
    return {rampAround(clothes), rampAround(skin), rampAround(hair)};
}
