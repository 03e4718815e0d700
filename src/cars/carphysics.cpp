#include "cars/carphysics.h"

#include "platform/editorerror.h"
#include "platform/prompts.h"
#include "style/textnumbers.h"

#include "cars/carscript.h"

#include <algorithm>

namespace {

const char *const GearSpeedHelp =
    "max speeds specify at which speed the asociated gear's multiplier is used\n"
    "and the car sounds \n"
    "\n"
    "gear1 max speed - above this speed the car switches to gear 2\n"
    "gear2 max speed - above this speed the car switches to gear 3\n"
    "gear3 max speed - the maximum speed that car can reach (in gear 3)";
const char *const GearMultiplierHelp =
    "gear multipliers should divide the max_speed into 3 gear \"speed zones\"\n"
    "ideal would be (0.900, 0.950, 1.000) but if you use something like (0.333, 0.333, 0.333)\n"
    "the car's max speed will never be reached because the gear 3 multiplier is not 1.000 which means full "
    "speed of gear 3.";
const char *const GearMultiplierSliderHelp =
    "gear multipliers should divide the max_speed into 3 gear \"speed zones\"\n"
    "ideal would be (0.250, 0.500, 1.000) but if you use something like (0.333, 0.333, 0.333)\n"
    "the car's max speed will never be reached because the gear 3 multiplier is not 1.000 which means full "
    "speed of gear 3.";

// A decimal text in thousandths, rounded half up: "1.5" gives 1500, "0.0005" gives 1, "5e-1" gives
// 500. Scripts write values with fewer or more decimals than the editor's three, with a decimal
// exponent, or with blanks around them; all of these are read by value. Magnitudes far past every
// slider's range stop growing.
qint64 thousandths(const QString &written) {
    constexpr qint64 Far = qint64(1) << 40;
    constexpr int FarExponent = 1000;
    const QString text = written.trimmed();
    const EditorError refusal(QStringLiteral("'%1' is not a valid number").arg(written));
    const auto isDigit = [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    };
    qsizetype at = 0;
    const auto sign = [&] {
        const bool negative = at < text.size() && text[at] == QLatin1Char('-');
        if (negative || (at < text.size() && text[at] == QLatin1Char('+')))
            ++at;
        return negative;
    };
    const bool negative = sign();
    QString digits;
    qsizetype point = -1;
    for (; at < text.size() && text[at].toLower() != QLatin1Char('e'); ++at) {
        if (text[at] == QLatin1Char('.') && point < 0)
            point = digits.size();
        else if (isDigit(text[at]))
            digits += text[at];
        else
            throw refusal;
    }
    if (digits.isEmpty())
        throw refusal;
    qint64 exponent = 0;
    if (at < text.size()) {
        ++at;
        const bool exponentNegative = sign();
        if (at == text.size())
            throw refusal;
        for (; at < text.size(); ++at) {
            if (!isDigit(text[at]))
                throw refusal;
            exponent = std::min<qint64>(FarExponent, exponent * 10 + (text[at].unicode() - '0'));
        }
        if (exponentNegative)
            exponent = -exponent;
    }
    // How many of the digits stand before the point of the value in thousandths.
    const qint64 whole = (point < 0 ? digits.size() : point) + exponent + 3;
    qint64 value = 0;
    for (qint64 k = 0; k < whole; ++k)
        value = std::min(Far, value * 10 + (k < digits.size() ? digits[k].unicode() - '0' : 0));
    // The first digit past the thousandths rounds them.
    if (whole >= 0 && whole < digits.size() && digits[whole] >= QLatin1Char('5'))
        ++value;
    return negative ? -value : value;
}

void requireBlock(const QStringList &script, int modelLine) {
    if (modelLine + NameLine < 0 || modelLine + LastPhysicsLine >= script.size())
        throw EditorError(
            QStringLiteral("the car script holds no whole physics block at line %1").arg(modelLine));
}

} // namespace

const std::array<PhysicsField, PhysicsFieldCount> PhysicsFields = {{
    {"mass", 1000, 128000, 4, " {mass}",
     "the car's mass - more means that the car will be less vurnelable to all kind of damages, and the car "
     "will steer less responsive ",
     nullptr},
    {"thrust", 0, 1000, 12, " {thrust}",
     "the car engine's power, more thrust will result in faster acceleration", nullptr},
    {"anti-strength", 0, 1000, 14, " {anti strength}",
     "set to zero to make car invulnerable to all psyhical damages except drowning (not even carbombs will "
     "hurt you), higher values makes car more vulnerable",
     nullptr},
    {"handbrake slide", 0, 1000, 11, " {handbrake slide value}",
     "set this to lower to increase the \"lock up\" when you use handbrake to steer with large speeds",
     nullptr},
    {"brake friction", 0, 4000, 7, " {brake friction}",
     "power of the brakes, setting it to zero leaves car without brakes...", nullptr},
    {"skid treshhold", 0, 1000, 15, " {skid threshhold}",
     "lower value will make your car leave skid alaways when you steer, highier values will leave skids on "
     "highier speeds beware, setting it to zero crashes the game!",
     nullptr},
    {"turn in", 0, 1000, 8, " {turn in}", "how responsive the car steers, more = faster", nullptr},
    {"turn ratio", 1, 1000, 9, " {turn rato}",
     "for how much the car steers, max=1.0, higher values can cause \"rotating on spot\" effect", nullptr},
    {"front drive bias", 0, 1000, 5, " {front drive bias}",
     "highier values makes front of car more responsive", nullptr},
    {"front mass bias", 0, 1000, 6, " {front mass bias}",
     "highier values makes car steering less responsive at highier speeds", nullptr},
    {"rear stability", 0, 4000, 10, " {rear end stability}", "how stable the car is when you go backwards",
     nullptr},
    {"gear1 max speed", 0, 1000, 19, " {gear2 speed}", GearSpeedHelp, nullptr},
    {"gear2 max speed", 0, 1000, 20, " {gear3 speed}", GearSpeedHelp, nullptr},
    {"gear3 max speed", 0, 1000, 13, " {max_speed}", GearSpeedHelp, nullptr},
    {"gear1 multiplier", 0, 1000, 16, " {gear1 multiplier}", GearMultiplierHelp, GearMultiplierSliderHelp},
    {"gear2 multiplier", 0, 1000, 17, " {gear2 multiplier}", GearMultiplierHelp, GearMultiplierSliderHelp},
    {"gear3 multiplier", 0, 1000, 18, " {gear3 multiplier}", GearMultiplierHelp, GearMultiplierSliderHelp},
    {"car cost", 0, 255, 2, " {value}",
     "car's cost is used to calculate auto damage cost when you run out of lives in vyr2 and return to menu.",
     nullptr},
}};

const QString TurboHelp = QStringLiteral("if checked then car accelerates and shifts gears faster and \n"
                                         "pulls stronger at lower speeds to reach max speed in short time");
const QString NameHelp =
    QStringLiteral("car's name (used only so that you can see which car you are editing in "
                   "nyc.gci file if you use text editor)");
const QString PhysicsAreaHelp =
    QStringLiteral("leave mouse cursor above a setting to display its description of what it does.");

int physicsBlockLine(const QStringList &script, int model, Prompts &prompts) {
    const int line = findModelLine(script, model);
    if (line < 0)
        return -1;
    if (line + NameLine < 0 || line + LastPhysicsLine >= script.size()) {
        prompts.message(
            QStringLiteral("car %1 is missing in gci, please fix the problem and try again.").arg(model));
        return -1;
    }
    return line;
}

CarPhysics readPhysics(const QStringList &script, int modelLine) {
    requireBlock(script, modelLine);
    CarPhysics physics;
    physics.name = scriptName(script[modelLine + NameLine]);
    physics.turbo = scriptValue(script[modelLine + TurboLine]) == QLatin1String("1");
    for (int k = 0; k < PhysicsFieldCount; ++k)
        physics.values[static_cast<std::size_t>(k)] =
            scriptValue(script[modelLine + PhysicsFields[static_cast<std::size_t>(k)].line]);
    return physics;
}

void writePhysics(QStringList &script, int modelLine, const PhysicsSettings &settings) {
    requireBlock(script, modelLine);
    script[modelLine + NameLine] = QLatin1Char('{') + settings.name + QLatin1Char('}');
    script[modelLine + TurboLine] =
        settings.turbo ? QStringLiteral("1 {turbo}") : QStringLiteral("0 {turbo}");
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const PhysicsField &field = PhysicsFields[static_cast<std::size_t>(k)];
        const std::optional<int> position = settings.positions[static_cast<std::size_t>(k)];
        if (!position)
            continue;
        const QString value = sliderToEdit(k, *position);
        script[modelLine + field.line] =
            (k == CarCostField ? value : QLatin1Char('f') + value) + QLatin1String(field.comment);
    }
}

QString sliderToEdit(int field, int position) {
    QString text = QString::number(position);
    if (field == CarCostField)
        return text;
    text = text.rightJustified(4, QLatin1Char('0'));
    return text.insert(text.size() - 3, QLatin1Char('.'));
}

int editToSlider(int field, const QString &text) {
    const PhysicsField &range = PhysicsFields[static_cast<std::size_t>(field)];
    if (field == CarCostField)
        return std::clamp(textToInteger(text.trimmed()), range.minimum, range.maximum);
    return int(std::clamp<qint64>(thousandths(text), range.minimum, range.maximum));
}

void writeChangedPhysics(QStringList &script, int modelLine, const PhysicsSettings &shown,
                         const PhysicsSettings &settings) {
    QStringList written = script;
    writePhysics(written, modelLine, settings);
    const auto take = [&](int line) {
        script[modelLine + line] = written[modelLine + line];
    };
    if (settings.name != shown.name)
        take(NameLine);
    if (settings.turbo != shown.turbo)
        take(TurboLine);
    for (std::size_t k = 0; k < PhysicsFields.size(); ++k)
        if (settings.positions[k] && settings.positions[k] != shown.positions[k])
            take(PhysicsFields[k].line);
}
