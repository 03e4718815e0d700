#include "cli/carcommands.h"

#include "cars/carphysics.h"
#include "cars/carrecords.h"
#include "cars/carscript.h"
#include "cli/commandsupport.h"
#include "cli/jsonoutput.h"
#include "platform/log.h"

#include <QJsonArray>
#include <QTextStream>

namespace {

// Messages about the car script are notes in the report, not failures of the command.
class NotePrompts final : public DecliningPrompts {
public:
    explicit NotePrompts(QTextStream &out) : out_(out) {}
    void message(const QString &text) override { out_ << "note: " << text << '\n'; }

private:
    QTextStream &out_;
};

QString flagNames(const CarInfoRecord &car, int first) {
    const FlagChecks checks = flagChecks(car);
    QStringList names;
    for (int k = first; k < first + 8; ++k) {
        if (checks[static_cast<std::size_t>(k)])
            names << FlagTexts[static_cast<std::size_t>(k)];
    }
    return names.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(names.join(QStringLiteral(", ")));
}

QString listEntry(int entry, const auto &texts) {
    return entry < 0 ? QStringLiteral(" (not in the list)")
                     : QStringLiteral(" (%1)").arg(QLatin1String(texts[static_cast<std::size_t>(entry)]));
}

void printRecord(QTextStream &out, const CarInfoRecord &car) {
    out << "model: " << car.model << '\n';
    out << "script car name: " << scriptCarName(car.model) << '\n';
    out << "sprite: " << car.sprite << '\n';
    out << "w: " << car.w << ", h: " << car.h << '\n';
    out << "passengers: " << car.passengers << '\n';
    out << "wreck: " << car.wreck << listEntry(wreckEntry(car.wreck), WreckTexts) << '\n';
    out << "rating: " << car.rating << listEntry(ratingEntry(car.rating), RatingTexts) << '\n';
    out << "front_wheel_offset: " << car.front_wheel_offset << '\n';
    out << "rear_wheel_offset: " << car.rear_wheel_offset << '\n';
    out << "front_window_offset: " << car.front_window_offset << '\n';
    out << "rear_window_offset: " << car.rear_window_offset << '\n';
    out << QStringLiteral("info_flags: 0x%1").arg(car.info_flags, 2, 16, QLatin1Char('0'))
        << flagNames(car, 0) << '\n';
    out << QStringLiteral("info_flags_2: 0x%1").arg(car.info_flags_2, 2, 16, QLatin1Char('0'))
        << flagNames(car, 8) << '\n';
    out << "num_remaps: " << car.num_remaps << '\n';
    if (car.num_remaps > 0)
        out << "remap: " << remapLines(car).join(QLatin1Char(' ')) << '\n';
    out << "num_doors: " << car.num_doors << '\n';
    for (int d = 0; d < car.num_doors; ++d) {
        const ShownDoor door = shownDoor(car.doors[static_cast<std::size_t>(d)]);
        out << QStringLiteral("door %1: x %2, y %3%4\n")
                   .arg(d)
                   .arg(door.x)
                   .arg(door.y)
                   .arg(door.walkIn ? QStringLiteral(", walk-in") : QString());
    }
    out << "sprite_sum: " << car.sprite_sum << '\n';
}

void printPhysics(QTextStream &out, const QStringList &script, const QString &scriptPath, int model) {
    NotePrompts notes(out);
    const int line = physicsBlockLine(script, model, notes);
    if (line < 0) {
        out << QStringLiteral("physics: none in \"%1\"\n").arg(scriptPath);
        return;
    }
    const CarPhysics physics = readPhysics(script, line);
    out << QStringLiteral("physics from \"%1\", model line %2:\n").arg(scriptPath).arg(line + 1);
    out << "  name: " << physics.name << '\n';
    out << "  turbo: " << (physics.turbo ? 1 : 0) << '\n';
    for (int k = 0; k < PhysicsFieldCount; ++k)
        out << "  " << PhysicsFields[static_cast<std::size_t>(k)].caption << ": "
            << physics.values[static_cast<std::size_t>(k)] << '\n';
}

// car-info --json: the record's fields by their names, the doors as shown, and the physics block
// (null without one), its values as numbers where they read as numbers.
QJsonObject carJson(int car, const CarInfoRecord &record, bool recycled,
                    const std::optional<CarPhysics> &physics) {
    QJsonArray remap;
    for (int k = 0; k < record.num_remaps; ++k)
        remap.append(record.remap[static_cast<std::size_t>(k)]);
    QJsonArray doors;
    for (int d = 0; d < record.num_doors; ++d) {
        const ShownDoor door = shownDoor(record.doors[static_cast<std::size_t>(d)]);
        doors.append(QJsonObject{{QStringLiteral("x"), door.x},
                                 {QStringLiteral("y"), door.y},
                                 {QStringLiteral("walk_in"), door.walkIn}});
    }
    QJsonValue block = QJsonValue::Null;
    if (physics) {
        QJsonObject values{{QStringLiteral("name"), physics->name},
                           {QStringLiteral("turbo"), physics->turbo}};
        for (int k = 0; k < PhysicsFieldCount; ++k) {
            const QString &text = physics->values[static_cast<std::size_t>(k)];
            bool number = false;
            const double value = text.toDouble(&number);
            values.insert(
                QString::fromLatin1(PhysicsFields[static_cast<std::size_t>(k)].caption).replace(' ', '_'),
                number ? QJsonValue(value) : QJsonValue(text));
        }
        block = values;
    }
    return {{QStringLiteral("car"), car},
            {QStringLiteral("model"), record.model},
            {QStringLiteral("script_car_name"), scriptCarName(record.model)},
            {QStringLiteral("sprite"), record.sprite},
            {QStringLiteral("w"), record.w},
            {QStringLiteral("h"), record.h},
            {QStringLiteral("passengers"), record.passengers},
            {QStringLiteral("wreck"), record.wreck},
            {QStringLiteral("rating"), record.rating},
            {QStringLiteral("front_wheel_offset"), record.front_wheel_offset},
            {QStringLiteral("rear_wheel_offset"), record.rear_wheel_offset},
            {QStringLiteral("front_window_offset"), record.front_window_offset},
            {QStringLiteral("rear_window_offset"), record.rear_window_offset},
            {QStringLiteral("info_flags"), record.info_flags},
            {QStringLiteral("info_flags_2"), record.info_flags_2},
            {QStringLiteral("remap"), remap},
            {QStringLiteral("doors"), doors},
            {QStringLiteral("sprite_sum"), static_cast<qint64>(record.sprite_sum)},
            {QStringLiteral("recycled"), recycled},
            {QStringLiteral("physics"), block}};
}

} // namespace

int runCarInfo(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<int> car = numberArgument(args[1]);
    if (!car)
        return misused(err, QStringLiteral("car-info takes a style file and a car number"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        if (*car < 0 || *car >= doc.CarCount()) {
            prompts.message(QStringLiteral("\"%1\" holds no car %2: it has %3 car records")
                                .arg(args[0])
                                .arg(*car)
                                .arg(doc.CarCount()));
            return false;
        }
        const CarInfoRecord &record = doc.CarInfoTable[static_cast<std::size_t>(*car)];
        const bool recycled = isRecycled(doc.RecycleList, record.model);
        QString scriptPath;
        LineLog scriptLog;
        const bool script = loadCompanionScript(doc.CarScript, scriptPath, args[0], scriptLog);
        if (args.has(QStringLiteral("--json"))) {
            // Standard output holds the document alone; the notes go to standard error.
            std::optional<CarPhysics> physics;
            NotePrompts notes(err);
            if (const int line = script ? physicsBlockLine(doc.CarScript, record.model, notes) : -1;
                line >= 0)
                physics = readPhysics(doc.CarScript, line);
            if (!script)
                printLines(err, scriptLog.lines());
            printJson(out, carJson(*car, record, recycled, physics));
            return true;
        }
        out << "car " << *car << '\n';
        printRecord(out, record);
        out << "recycled: " << (recycled ? "yes" : "no") << '\n';
        if (script) {
            printPhysics(out, doc.CarScript, scriptPath, record.model);
        } else {
            printLines(out, scriptLog.lines());
            out << "physics: no " << CompanionScriptName << " beside the style file\n";
        }
        return true;
    });
}

int runMirrorDoors(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        mirrorAllDoorLocations(doc);
        return saveStyle(doc, args[1], prompts, out);
    });
}
