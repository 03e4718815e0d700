#include "sample/samplepalettes.h"

#include <QColor>
#include <algorithm>

namespace {

QRgb scaled(QRgb c, int percentRed, int percentGreen, int percentBlue) {
    return qRgb(std::min(255, qRed(c) * percentRed / 100), std::min(255, qGreen(c) * percentGreen / 100),
                std::min(255, qBlue(c) * percentBlue / 100));
}

} // namespace

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

PaletteRecipe carRecipe(QRgb body) {
    return {
        rampAround(body), {qRgb(10, 20, 40), qRgb(150, 200, 235)}, {qRgb(12, 12, 14), qRgb(225, 225, 230)}};
}

QRgb wheelColour(int i) {
    const int hue = (i * 222) % 360; // 222 degrees is close to the golden angle
    const int saturation = 150 + (i * 37) % 90;
    const int value = 170 + (i * 53) % 80;
    return QColor::fromHsv(hue, saturation, value).rgb();
}
