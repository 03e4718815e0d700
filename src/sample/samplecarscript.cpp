#include "sample/samplepainting.h"
#include "sample/samplestyle.h"
#include "style/carscriptnames.h"

#include <algorithm>

namespace {

QString scriptNameOf(int model) {
    // Models past the table follow its own naming of unnamed models (CAR9, CAR15, ...).
    if (model < static_cast<int>(ScriptNames.size()))
        return QString::fromLatin1(ScriptNames[static_cast<std::size_t>(model)]);
    return QStringLiteral("CAR%1").arg(model);
}

// A fraction in thousandths as the script writes it: "f", three decimals, a '.' whatever the locale.
QString fraction(int thousandths, const char *comment) {
    return QStringLiteral("f%1.%2 {%3}")
        .arg(thousandths / 1000)
        .arg(thousandths % 1000, 3, 10, QLatin1Char('0'))
        .arg(QLatin1String(comment));
}

void appendPhysicsBlock(QStringList &lines, const CarInfoRecord &car) {
    // Heavier, bigger cars are slower and cost more; the rest varies per model.
    SampleRng rng(0x51ed27u + car.model * 7919u);
    const int area = car.w * car.h;
    const bool turbo = car.rating >= 21 && car.rating != 99;
    lines << QStringLiteral("{%1}").arg(scriptNameOf(car.model));
    lines << QStringLiteral("%1 {model}").arg(car.model);
    lines << QStringLiteral("%1 {turbo}").arg(turbo ? 1 : 0);
    lines << QStringLiteral("%1 {value}").arg(std::min(255, 10 + area / 12));
    lines << QStringLiteral("0 {reserved}");
    lines << fraction(std::clamp(area * 3, 1000, 128000), "mass");
    lines << fraction(rng.between(0, 1000), "front drive bias");
    lines << fraction(rng.between(400, 600), "front mass bias");
    lines << fraction(rng.between(1000, 3000), "brake friction");
    lines << fraction(rng.between(100, 400), "turn in");
    lines << fraction(rng.between(400, 900), "turn rato");
    lines << fraction(rng.between(1000, 2500), "rear end stability");
    lines << fraction(rng.between(200, 700), "handbrake slide value");
    lines << fraction(rng.between(100, 400) + (turbo ? 200 : 0), "thrust");
    lines << fraction(std::clamp(1000 - area / 4, 400, 1000), "max_speed");
    lines << fraction(rng.between(300, 1000), "anti strength");
    lines << fraction(rng.between(50, 300), "skid threshhold");
    lines << fraction(rng.between(250, 900), "gear1 multiplier");
    lines << fraction(rng.between(500, 950), "gear2 multiplier");
    lines << fraction(1000, "gear3 multiplier");
    lines << fraction(rng.between(200, 400), "gear2 speed");
    lines << fraction(rng.between(500, 700), "gear3 speed");
}

} // namespace

QStringList makeSampleCarScript(const StyleDocument &doc) {
    QStringList lines = {
        QStringLiteral("{**********************"),
        QStringLiteral("car physics of the sample style, one block per car model"),
        QStringLiteral("lines starting with f hold fractions, written with three decimals"),
        QStringLiteral("**********************}"),
        QString(),
    };
    for (const CarInfoRecord &car : doc.CarInfoTable)
        appendPhysicsBlock(lines, car);
    return lines;
}
