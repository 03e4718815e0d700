#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Prompts;

// One number of a car's physics block as the car editor shows it: a slider holding the value in
// thousandths (the car cost: the value itself) and the line the value lives on.
struct PhysicsField {
    const char *caption;
    int minimum;
    int maximum;
    int line;            // relative to the model line
    const char *comment; // what follows the value on its line
    const char *help;
    const char *sliderHelp; // the slider's own help text where it differs from the edit's
};

inline constexpr int PhysicsFieldCount = 18;
// The last field, the car cost, is a whole number without the fraction mark "f".
inline constexpr int CarCostField = PhysicsFieldCount - 1;
extern const std::array<PhysicsField, PhysicsFieldCount> PhysicsFields;

inline constexpr int TurboLine = 1;
inline constexpr int NameLine = -1;
// The block runs from the name line to this line after the model line.
inline constexpr int LastPhysicsLine = 20;

extern const QString TurboHelp;
extern const QString NameHelp;
extern const QString PhysicsAreaHelp;

// The texts of a physics block as read by the value and name rules.
struct CarPhysics {
    QString name;
    bool turbo = false;
    std::array<QString, PhysicsFieldCount> values;
};

// The values the car editor writes back: slider positions, the turbo mark and the name. A value
// the editor cannot read has no position: its line is never written.
struct PhysicsSettings {
    std::array<std::optional<int>, PhysicsFieldCount> positions{};
    bool turbo = false;
    QString name;
};

// The model line of a car whose whole 22-line block lies inside the script, or -1. A model line
// whose block would reach past either end of the text is reported as a damaged script.
int physicsBlockLine(const QStringList &script, int model, Prompts &prompts);

CarPhysics readPhysics(const QStringList &script, int modelLine);
// Writes every line of the block the editor writes, but for values without a position.
void writePhysics(QStringList &script, int modelLine, const PhysicsSettings &settings);
// Writes only the lines whose value differs from `shown`, the settings as the block showed them;
// every other line stays exactly as it was.
void writeChangedPhysics(QStringList &script, int modelLine, const PhysicsSettings &shown,
                         const PhysicsSettings &settings);

// Slider position -> edit text: thousandths with a "." before the last three digits (1500 ->
// "1.500", 5 -> "0.005"); the car cost as it is.
QString sliderToEdit(int field, int position);
// Edit text -> slider position: the decimal value in thousandths ("1.5" gives 1500, "5e-1" gives 500),
// the car cost as a whole number, kept in the slider's range; blanks around either are ignored.
// Throws EditorError for anything else.
int editToSlider(int field, const QString &text);
