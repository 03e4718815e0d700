// The car script rules on arbitrary text: line split, value and name, the model line search, the
// physics block read and write, and the header rewrite. Control bytes: the model number, the
// name, the slider positions' seed, the turbo mark.

#include "cars/carphysics.h"
#include "cars/carscript.h"
#include "fuzzsupport.h"
#include "platform/editorerror.h"

#include <QDateTime>

namespace {

PhysicsSettings settingsFrom(const FuzzInput &input) {
    PhysicsSettings settings;
    settings.name = QStringLiteral("FUZZ%1").arg(input.at(1));
    settings.turbo = input.at(3) & 1;
    const quint32 seed = input.at(2) + 1;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const PhysicsField &field = PhysicsFields[static_cast<std::size_t>(k)];
        const auto span = static_cast<quint32>(field.maximum - field.minimum + 1);
        settings.positions[static_cast<std::size_t>(k)] =
            field.minimum + static_cast<int>((seed * 2654435761u * quint32(k + 1)) % span);
    }
    return settings;
}

// Written values read back as written, and only the block's lines change.
void checkBlock(const QStringList &script, int model, const FuzzInput &input) {
    DecliningPrompts prompts;
    const int line = physicsBlockLine(script, model, prompts);
    if (line < 0)
        return;
    require(line + NameLine >= 0 && line + LastPhysicsLine < script.size(), "a block reaches past the text");
    readPhysics(script, line);
    const PhysicsSettings settings = settingsFrom(input);
    QStringList written = script;
    writePhysics(written, line, settings);
    require(written.size() == script.size(), "writing a block changed the number of lines");
    for (qsizetype i = 0; i < script.size(); ++i)
        require(written[i] == script[i] || (i >= line + NameLine && i <= line + LastPhysicsLine),
                "writing a block changed a line outside it");
    require(findModelLine(written, model) == line, "writing a block moved the model line");
    const CarPhysics physics = readPhysics(written, line);
    require(physics.name == settings.name && physics.turbo == settings.turbo,
            "the name or turbo mark changed");
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const auto at = static_cast<std::size_t>(k);
        // Every field was given a position above.
        const int position = *settings.positions[at];
        require(physics.values[at] == sliderToEdit(k, position) &&
                    editToSlider(k, physics.values[at]) == position,
                "a written value reads back as another");
    }
}

void checkHeader(const QStringList &script) {
    const QStringList header =
        carScriptHeader(QStringLiteral("user"), QStringLiteral("machine"), QStringLiteral("program"),
                        QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    QStringList once = script;
    rewriteCarScriptHeader(once, header);
    require(once.mid(0, header.size()) == header, "the rewritten script does not start with the header");
    // A script with an empty line keeps one header however often it is saved.
    if (!script.contains(QString()))
        return;
    QStringList twice = once;
    rewriteCarScriptHeader(twice, header);
    require(twice == once, "a second save added another header");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 4);
    if (!input.valid)
        return 0;
    const QStringList script = carScriptLines(input.file.toByteArray());
    require(carScriptLines(carScriptBytes(script)) == script, "a saved script reads back as another");
    for (qsizetype i = 0; i < script.size(); ++i) {
        scriptName(script[i]);
        try {
            for (int k = 0; k < PhysicsFieldCount; ++k) {
                const int position = editToSlider(k, scriptValue(script[i]));
                const PhysicsField &field = PhysicsFields[static_cast<std::size_t>(k)];
                require(position >= field.minimum && position <= field.maximum, "a slider outside its range");
            }
        } catch (const EditorError &error) {
            require(!error.text().isEmpty(), "an empty error");
        }
    }
    const int model = int(input.at(0)) - 4;
    const int line = findModelLine(script, model);
    require(line < 0 ||
                script[line].compare(QStringLiteral("%1 {model}").arg(model), Qt::CaseInsensitive) == 0,
            "the model line found is another");
    try {
        checkBlock(script, model, input);
        // A line that is no model line may be asked for too; a block past the text is refused.
        readPhysics(script, int(input.at(1)) - 4);
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty error");
    }
    checkHeader(script);
    return 0;
}
