#include "cars/carrecords.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "style/carscriptnames.h"
#include "style/textnumbers.h"

#include <algorithm>
#include <cstdlib>

int subModelCount(const StyleDocument &doc, int car) {
    int count = 0;
    for (int i = car + 1; i < doc.CarCount() && doc.CarInfoTable[static_cast<std::size_t>(i)].sprite == 0;
         ++i)
        ++count;
    return count;
}

QString noCarRecordMessage(const StyleDocument &doc, int car) {
    if (car >= 0 && car < doc.CarCount())
        return QString();
    return QStringLiteral("this sprite belongs to car %1, but the style file holds only %2 car records")
        .arg(car)
        .arg(doc.CarCount());
}

QString scriptCarName(int model) {
    if (model < 0 || model >= static_cast<int>(ScriptNames.size()))
        return QStringLiteral("unknown");
    return QString::fromLatin1(ScriptNames[static_cast<std::size_t>(model)]);
}

QString scriptCarNameLine(const StyleDocument &doc, int sprite) {
    const int car = carOfSprite(doc, sprite);
    const int model = car < doc.CarCount() ? doc.CarInfoTable[static_cast<std::size_t>(car)].model : -1;
    return QStringLiteral("script car name: %1").arg(scriptCarName(model));
}

QStringList spriteInfoPanel(const StyleDocument &doc, int sprite) {
    QStringList lines = spriteInfo(doc, sprite);
    if (isCarSprite(doc, sprite))
        lines << scriptCarNameLine(doc, sprite);
    return lines;
}

ShownDoor shownDoor(DoorPosition door) {
    if (door.rx >= 64)
        return {door.rx - 64, door.ry, true};
    if (door.rx <= -64)
        return {door.rx + 64, door.ry, true};
    return {door.rx, door.ry, false};
}

DoorPosition storedDoor(int x, int y, bool walkIn) {
    const int rx = !walkIn ? x : x >= 0 ? x + 64 : x - 64;
    return {static_cast<qint8>(rx), static_cast<qint8>(y)};
}

DoorRows doorRows(const CarInfoRecord &car) {
    DoorRows rows;
    for (int d = 0; d < car.num_doors; ++d) {
        const ShownDoor door = shownDoor(car.doors[static_cast<std::size_t>(d)]);
        rows.append({QString::number(door.x), QString::number(door.y),
                     door.walkIn ? QStringLiteral("X") : QString()});
    }
    return rows;
}

bool addDoor(DoorRows &rows) {
    // `num_doors` is one byte, whatever the file held before.
    if (rows.size() == EditorDoorLimit || rows.size() >= 255)
        return false;
    rows.append({QStringLiteral("0"), QStringLiteral("0"), QString()});
    return true;
}

void removeDoor(DoorRows &rows, int row) {
    if (row >= 0 && row < rows.size())
        rows.removeAt(row);
}

void mirrorPrevious(DoorRows &rows, int row) {
    if (row <= 0 || row >= rows.size())
        return;
    const DoorRow &above = rows[row - 1];
    rows[row] = {QLatin1Char('-') + QString::number(std::abs(textToInteger(above.x))), above.y, above.walkIn};
}

QSize collisionSize(const QString &width, const QString &height) {
    const auto side = [](const QString &caption, const QString &text) {
        const int value = textToInteger(text);
        if (value < 0 || value > CollisionSizeLimit)
            throw EditorError(QStringLiteral("The collision %1 must be 0 to %2, not %3.")
                                  .arg(caption)
                                  .arg(CollisionSizeLimit)
                                  .arg(value));
        return value;
    };
    return QSize(side(QStringLiteral("width"), width), side(QStringLiteral("height"), height));
}

quint8 recordByte(const QString &what, const QString &text) {
    const int value = textToInteger(text);
    if (value < 0 || value > 255)
        throw EditorError(QStringLiteral("%1 must be 0 to 255, not %2.").arg(what).arg(value));
    return static_cast<quint8>(value);
}

void storeDoors(CarInfoRecord &car, const DoorRows &rows) {
    if (rows.size() > 255)
        throw EditorError(QStringLiteral("a car holds at most 255 doors"));
    std::array<DoorPosition, 256> doors = car.doors;
    for (qsizetype d = 0; d < rows.size(); ++d) {
        const int x = textToInteger(rows[d].x);
        const int y = textToInteger(rows[d].y);
        const bool walkIn = !rows[d].walkIn.isEmpty();
        // Past these a door reads back elsewhere, or as a walk-in door.
        const int leftmost = walkIn ? -64 : -63;
        if (x < leftmost || x > 63)
            throw EditorError(QStringLiteral("Door %1: X must be %2 to 63%3, not %4.")
                                  .arg(d + 1)
                                  .arg(leftmost)
                                  .arg(walkIn ? QStringLiteral(" for a walk-in door") : QString())
                                  .arg(x));
        if (y < -128 || y > 127)
            throw EditorError(QStringLiteral("Door %1: Y must be -128 to 127, not %2.").arg(d + 1).arg(y));
        doors[static_cast<std::size_t>(d)] = storedDoor(x, y, walkIn);
    }
    car.doors = doors;
    car.num_doors = static_cast<quint8>(rows.size());
}

const QString RatingHelp = QStringLiteral("rating is the quality rating for this car\n"
                                          "used to decide how often it is \n"
                                          "created in different areas of the cities.\n"
                                          "in multiplayer game the traffic checkbox \n"
                                          "is ignored and ONLY car rating is used \n"
                                          "to decide which cars should spawn.");

int ratingEntry(int rating) {
    if (rating >= 1 && rating <= 3)
        return 0;
    if (rating >= 11 && rating <= 13)
        return 1;
    if (rating >= 21 && rating <= 23)
        return 2;
    return rating == 99 ? DoesntAppearEntry : -1;
}

quint8 ratingValue(int entry) {
    constexpr std::array<quint8, 4> values = {1, 11, 21, 99};
    return values.at(static_cast<std::size_t>(entry));
}

int wreckEntry(int wreck) {
    if (wreck >= 0 && wreck < 10)
        return wreck;
    return wreck == 99 ? 10 : -1;
}

quint8 wreckValue(int entry) {
    return entry == 10 ? 99 : static_cast<quint8>(entry);
}

const std::array<QString, FlagEntryCount> FlagTexts = {
    QStringLiteral("too high for a ped to jump"),
    QStringLiteral("emergency lights (police car)"),
    QStringLiteral("roof lights"),
    QStringLiteral("cab"),
    QStringLiteral("trailer"),
    QStringLiteral("forhire lights (e.g. taxi)"),
    QStringLiteral("roof decal (e.g. TV van)"),
    QStringLiteral("rear emergency lights"),
    QStringLiteral("can drive over other cars"),
    QStringLiteral("has popup headlights"),
    QStringLiteral("Bulletproof (doesn't seem to work but is used on FBI car)"),
    QStringLiteral("info_flags_2 bit 2"),
    QStringLiteral("info_flags_2 bit 3"),
    QStringLiteral("info_flags_2 bit 4"),
    QStringLiteral("info_flags_2 bit 5"),
    QStringLiteral("info_flags_2 bit 6"),
    QStringLiteral("info_flags_2 bit 7"),
    QStringLiteral("info_flags_2 bit 8"),
};

namespace {

enum FlagEntry { TooHigh, Emergency, RoofLights, Cab, Trailer, ForHire, RoofDecal, RearEmergency };

void uncheck(FlagChecks &checks, std::initializer_list<FlagEntry> entries) {
    for (const FlagEntry entry : entries)
        checks[entry] = false;
}

} // namespace

FlagChecks flagChecks(const CarInfoRecord &car) {
    FlagChecks checks{};
    for (int bit = 0; bit < 8; ++bit) {
        checks[static_cast<std::size_t>(bit)] = (car.info_flags >> bit) & 1;
        checks[static_cast<std::size_t>(bit) + 8] = (car.info_flags_2 >> bit) & 1;
    }
    return checks;
}

void applyFlagRules(FlagChecks &checks) {
    if (checks[Cab])
        uncheck(checks, {Trailer});
    if (checks[RearEmergency]) {
        checks[Emergency] = true;
        uncheck(checks, {RoofLights, ForHire, RoofDecal});
    }
    if (checks[Emergency])
        uncheck(checks, {RoofLights, ForHire, RoofDecal});
    if (checks[RoofLights])
        uncheck(checks, {RearEmergency, Emergency, ForHire, RoofDecal});
    if (checks[ForHire])
        uncheck(checks, {RearEmergency, Emergency, RoofLights, RoofDecal});
}

void storeFlags(CarInfoRecord &car, const FlagChecks &checks) {
    quint8 flags = 0, flags2 = 0;
    for (int bit = 0; bit < 8; ++bit) {
        flags |= static_cast<quint8>(checks[static_cast<std::size_t>(bit)] << bit);
        flags2 |= static_cast<quint8>(checks[static_cast<std::size_t>(bit) + 8] << bit);
    }
    car.info_flags = flags;
    car.info_flags_2 = flags2;
}

qint8 carOffset(const CarInfoRecord &car, int entry) {
    const std::array<qint8, 4> offsets = {car.front_wheel_offset, car.rear_wheel_offset,
                                          car.front_window_offset, car.rear_window_offset};
    return offsets.at(static_cast<std::size_t>(entry));
}

void setCarOffset(CarInfoRecord &car, int entry, int offset) {
    const std::array<qint8 *, 4> offsets = {&car.front_wheel_offset, &car.rear_wheel_offset,
                                            &car.front_window_offset, &car.rear_window_offset};
    *offsets.at(static_cast<std::size_t>(entry)) = static_cast<qint8>(offset);
}

QStringList remapLines(const CarInfoRecord &car) {
    QStringList lines;
    for (int k = 0; k < car.num_remaps; ++k)
        lines << QString::number(car.remap[static_cast<std::size_t>(k)]);
    return lines;
}

void storeRemaps(CarInfoRecord &car, const QStringList &lines) {
    QStringList used = lines;
    try {
        if (!used.isEmpty())
            textToInteger(used.front());
    } catch (const EditorError &) {
        used.clear();
    }
    if (used.size() > 255)
        throw EditorError(QStringLiteral("a car holds at most 255 remaps, but the remap list has %1 lines")
                              .arg(used.size()));
    std::array<quint8, 256> remap = car.remap;
    for (qsizetype k = 0; k < used.size(); ++k)
        remap[static_cast<std::size_t>(k)] = recordByte(QStringLiteral("Remap %1").arg(k + 1), used[k]);
    car.remap = remap;
    car.num_remaps = static_cast<quint8>(used.size());
}

QList<QRgb> remapColours(const StyleDocument &doc, const QString &line, int sprite) {
    const int remap = textToInteger(line);
    const int virtualPalette =
        remap != 0 ? carRemapVirtualPalette(doc, remap) : spriteVirtualPalette(doc, sprite);
    const std::optional<int> palette = physicalPaletteOf(doc, virtualPalette);
    if (!palette)
        throw EditorError(QStringLiteral("remap %1 has no palette: there is no virtual palette %2")
                              .arg(remap)
                              .arg(virtualPalette));
    return ClutToPal(doc, *palette);
}

bool isRecycled(const RecycleTable &list, int model) {
    return std::find(list.begin(), list.end(), model) != list.end();
}

void setRecycled(RecycleTable &list, int model, bool recycled) {
    const auto at = std::find(list.begin(), list.end(), model);
    if (recycled && at == list.end())
        list.append(static_cast<quint8>(model));
    else if (!recycled && at != list.end())
        list.erase(static_cast<std::size_t>(at - list.begin()));
}

void commitCarEdit(StyleDocument &doc, const CarEdit &edit) {
    if (!noCarRecordMessage(doc, edit.car).isEmpty())
        throw EditorError(noCarRecordMessage(doc, edit.car));
    RecycleTable recycleList = doc.RecycleList;
    setRecycled(recycleList, edit.record.model, edit.recycled);
    QStringList script = doc.CarScript;
    if (edit.modelLine >= 0)
        writeChangedPhysics(script, edit.modelLine, edit.shownPhysics, edit.physics);
    doc.RecycleList = recycleList;
    doc.CarInfoTable[static_cast<std::size_t>(edit.car)] = edit.record;
    doc.CarScript = script;
}

void mirrorAllDoorLocations(StyleDocument &doc) {
    for (CarInfoRecord &car : doc.CarInfoTable) {
        for (int d = 0; d < car.num_doors; ++d) {
            DoorPosition &door = car.doors[static_cast<std::size_t>(d)];
            door.rx = static_cast<qint8>(-static_cast<int>(door.rx));
        }
    }
}
