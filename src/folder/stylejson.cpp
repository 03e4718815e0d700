#include "folder/stylejson.h"

#include "folder/folderlayout.h"
#include "platform/editorerror.h"
#include "platform/headroom.h"
#include "style/stylereader.h"
#include "style/surfacelists.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <concepts>
#include <initializer_list>
#include <iterator>

namespace {

constexpr int HexBytesPerLine = 32;

// ---- writing

template <typename List> QJsonArray numbers(const List &values) {
    QJsonArray array;
    for (const auto v : values)
        array.append(qint64(v));
    return array;
}

// ---- entries written one to a line, so that a diff hunk names the entry it changes

// Thousands of lines are written on every unpack: the text is appended to one buffer, without a
// JSON document or a text for each number.

// A field's value: a whole number, or its JSON text.
struct FieldValue {
    template <std::integral Number> FieldValue(Number value) : number(qint64(value)) {}
    FieldValue(QByteArray json) : text(std::move(json)) {}
    qint64 number = 0;
    QByteArray text; // empty for a number
};
using Fields = std::initializer_list<std::pair<const char *, FieldValue>>;

void appendNumber(QByteArray &text, qint64 number) {
    char digits[24];
    const char *end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, end - digits);
}
void appendField(QByteArray &text, const char *key, const FieldValue &value) {
    text.append('"').append(key).append("\": ");
    if (value.text.isEmpty())
        appendNumber(text, value.number);
    else
        text.append(value.text);
}
// A pixel check as a JSON string: its hexadecimal digits need no escapes.
QByteArray checkText(const QString &check) {
    return '"' + check.toLatin1() + '"';
}
template <typename List> QByteArray numberList(const List &values) {
    QByteArray text = "[";
    for (const auto v : values) {
        if (text.size() > 1)
            text.append(", ");
        appendNumber(text, qint64(v));
    }
    return text.append(']');
}
QByteArray oneLine(Fields fields) {
    QByteArray text;
    text.reserve(160);
    text.append('{');
    for (const auto &[key, value] : fields) {
        if (text.size() > 1)
            text.append(", ");
        appendField(text, key, value);
    }
    return text.append('}');
}
// A list of lines indented under a key at `depth` levels of four spaces.
QByteArray listText(const QByteArrayList &lines, int depth) {
    if (lines.isEmpty())
        return "[]";
    const QByteArray inner((depth + 1) * 4, ' ');
    return "[\n" + inner + lines.join(",\n" + inner) + '\n' + QByteArray(depth * 4, ' ') + ']';
}

QByteArray spritesText(const StyleDocument &doc, const QStringList &checks) {
    QByteArrayList lines;
    for (int s = 0; s < doc.SpriteIndex.count(); ++s) {
        const SpriteEntry &e = doc.SpriteIndex[std::size_t(s)];
        lines.append(oneLine({{"n", s},
                              {"x", e.x()},
                              {"y", e.y()},
                              {"page", e.page()},
                              {"ptr_byte_3", e.ptr >> 24},
                              {"w", e.w},
                              {"h", e.h},
                              {"pad", e.pad},
                              {"pixels_check", checkText(checks.value(s))}}));
    }
    return listText(lines, 1);
}

QByteArray carsText(const StyleDocument &doc) {
    QByteArrayList cars;
    for (const CarInfoRecord &car : doc.CarInfoTable) {
        QByteArrayList doors;
        for (int d = 0; d < car.num_doors; ++d) {
            const DoorPosition door = car.doors[std::size_t(d)];
            doors.append(numberList(std::initializer_list<int>{door.rx, door.ry}));
        }
        const Fields fields = {
            {"model", car.model},
            {"sprite", car.sprite},
            {"w", car.w},
            {"h", car.h},
            {"passengers", car.passengers},
            {"wreck", car.wreck},
            {"rating", car.rating},
            {"front_wheel_offset", car.front_wheel_offset},
            {"rear_wheel_offset", car.rear_wheel_offset},
            {"front_window_offset", car.front_window_offset},
            {"rear_window_offset", car.rear_window_offset},
            {"info_flags", car.info_flags},
            {"info_flags_2", car.info_flags_2},
            {"remap", numberList(QList<quint8>(car.remap.begin(), car.remap.begin() + car.num_remaps))},
            {"doors", listText(doors, 3)}};
        QByteArray text = "{";
        for (const auto &[key, value] : fields) {
            text.append(text.size() > 1 ? ",\n            " : "\n            ");
            appendField(text, key, value);
        }
        cars.append(text.append("\n        }"));
    }
    return listText(cars, 1);
}

// The palette index cut into one list per kind by the counts; entries past them in "beyond".
// Each entry carries its place in the whole index.
QByteArray paletteIndexText(const StyleDocument &doc) {
    QByteArrayList lists;
    int at = 0;
    for (int k = 0; k <= PaletteKindCount; ++k) {
        const int n = k < PaletteKindCount
                          ? std::min<int>(doc.PaletteCounts[std::size_t(k)], doc.PaletteIndexCount() - at)
                          : doc.PaletteIndexCount() - at;
        QByteArrayList lines;
        for (int i = at; i < at + n; ++i)
            lines.append(oneLine({{"n", i}, {"palette", doc.PaletteIndex[std::size_t(i)]}}));
        const QString kind =
            k < PaletteKindCount ? PaletteKindNames[std::size_t(k)] : QStringLiteral("beyond");
        lists.append('"' + kind.toLatin1() + "\": " + listText(lines, 2));
        at += n;
    }
    return "{\n        " + lists.join(",\n        ") + "\n    }";
}

QByteArray deltasText(const StyleDocument &doc) {
    QByteArrayList lines;
    for (int i = 0; i < doc.DeltaIndexCount(); ++i) {
        const DeltaIndexEntry &e = doc.DeltaIndex[std::size_t(i)];
        lines.append(
            oneLine({{"n", i},
                     {"sprite", e.sprite},
                     {"pad", e.pad},
                     {"sizes", numberList(QList<quint16>(e.size.begin(), e.size.begin() + e.delta_count))}}));
    }
    return listText(lines, 1);
}

QJsonArray hexLines(const QByteArray &bytes) {
    QJsonArray lines;
    for (qsizetype at = 0; at < bytes.size(); at += HexBytesPerLine)
        lines.append(QString::fromLatin1(bytes.mid(at, HexBytesPerLine).toHex()));
    return lines;
}

// The fourth byte of each colour; only palettes where one is not 0.
QJsonArray spareBytesJson(const StyleDocument &doc) {
    QJsonArray spare;
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p) {
        QByteArray bytes(256, '\0');
        for (int c = 0; c < 256; ++c)
            bytes[c] = doc.PhysicalPalettes[physicalColourOffset(p, c) + 3];
        if (bytes.count('\0') != bytes.size())
            spare.append(QJsonObject{{"palette", p}, {"bytes", hexLines(bytes)}});
    }
    return spare;
}

// ---- reading

[[noreturn]] void refuseField(const QString &field, const QString &why) {
    throw EditorError(QStringLiteral("%1: %2: %3; nothing was written.").arg(StyleJsonName, field, why));
}

QString member(const QString &path, const QString &key) {
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}
QString element(const QString &path, qsizetype i) {
    return QStringLiteral("%1[%2]").arg(path).arg(i);
}

QJsonValue field(const QJsonObject &object, const QString &path, const QString &key) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        refuseField(member(path, key), QStringLiteral("missing"));
    return value;
}

// A misspelt field would lose its edit without a word, so every field must be one pack reads.
void onlyFields(const QJsonObject &object, const QString &path, std::initializer_list<const char *> known) {
    for (const QString &key : object.keys())
        if (std::none_of(known.begin(), known.end(), [&](const char *k) { return key == QLatin1String(k); }))
            refuseField(member(path, key), QStringLiteral("no such field; is it misspelt?"));
}

qint64 number(const QJsonValue &value, const QString &path, qint64 low, qint64 high) {
    const double d = value.toDouble(std::nan(""));
    if (!value.isDouble() || std::floor(d) != d)
        refuseField(path, QStringLiteral("not a whole number"));
    // Compared as doubles: 1e300 has no 64-bit integer to be converted to.
    if (d < double(low) || d > double(high))
        refuseField(path,
                    QStringLiteral("%1 is outside %2 to %3").arg(QString::number(d)).arg(low).arg(high));
    return qint64(d);
}
qint64 number(const QJsonObject &object, const QString &path, const QString &key, qint64 low, qint64 high) {
    return number(field(object, path, key), member(path, key), low, high);
}

QJsonArray array(const QJsonValue &value, const QString &path) {
    if (!value.isArray())
        refuseField(path, QStringLiteral("not a list"));
    return value.toArray();
}
QJsonArray array(const QJsonObject &object, const QString &path, const QString &key) {
    return array(field(object, path, key), member(path, key));
}
QJsonObject object(const QJsonValue &value, const QString &path) {
    if (!value.isObject())
        refuseField(path, QStringLiteral("not an object"));
    return value.toObject();
}
QJsonObject object(const QJsonObject &parent, const QString &path, const QString &key) {
    return object(field(parent, path, key), member(path, key));
}

// The "n" of a list entry must be its place: an entry moved in the text would otherwise take
// another one's number without a word.
void entryNumber(const QJsonObject &o, const QString &path, qint64 expected) {
    const qint64 n = number(o, path, "n", 0, std::numeric_limits<int>::max());
    if (n != expected)
        refuseField(member(path, "n"),
                    QStringLiteral("%1, but the entry is number %2 of its list; entries are "
                                   "numbered by their place")
                        .arg(n)
                        .arg(expected));
}

template <typename T, typename Table>
void readNumbers(const QJsonArray &list, const QString &path, Table &table) {
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (std::size_t(table.count()) == table.capacity)
            refuseField(path, QStringLiteral("more than %1 entries").arg(table.capacity));
        table.append(T(
            number(list[i], element(path, i), std::numeric_limits<T>::min(), std::numeric_limits<T>::max())));
    }
}

QByteArray readHexLines(const QJsonArray &lines, const QString &path) {
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].toString();
        const QByteArray decoded = QByteArray::fromHex(text.toLatin1());
        if (!lines[i].isString() || text.size() % 2 != 0 || decoded.size() * 2 != text.size() ||
            decoded.toHex() != text.toLatin1().toLower())
            refuseField(element(path, i), QStringLiteral("not a text of hexadecimal byte pairs"));
        bytes += decoded;
    }
    return bytes;
}

void readPaletteIndex(const QJsonObject &root, StyleDocument &doc) {
    const QString path = QStringLiteral("palette_index");
    const QJsonObject lists = object(root, QString(), path);
    onlyFields(lists, path,
               {"tile", "sprite", "car_remap", "ped_remap", "code_obj_remap", "map_obj_remap", "user_remap",
                "font_remap", "beyond"});
    bool short_ = false; // a kind with fewer entries than its count leaves the ones after it empty
    for (int k = 0; k <= PaletteKindCount; ++k) {
        const QString kind =
            k < PaletteKindCount ? PaletteKindNames[std::size_t(k)] : QStringLiteral("beyond");
        const QJsonArray list = array(lists, path, kind);
        const qsizetype expected = k < PaletteKindCount ? doc.PaletteCounts[std::size_t(k)] : 0;
        if (short_ && !list.isEmpty())
            refuseField(member(path, kind),
                        QStringLiteral("%1 entries after a list shorter than its palette_counts "
                                       "value; only the last list filled may be short")
                            .arg(list.size()));
        if (k < PaletteKindCount && list.size() > expected)
            refuseField(member(path, kind),
                        QStringLiteral("%1 entries, more than its palette_counts value %2")
                            .arg(list.size())
                            .arg(expected));
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QString entryPath = element(member(path, kind), i);
            const QJsonObject entry = object(list[i], entryPath);
            onlyFields(entry, entryPath, {"n", "palette"});
            if (std::size_t(doc.PaletteIndex.count()) == doc.PaletteIndex.capacity)
                refuseField(entryPath, QStringLiteral("more than %1 entries").arg(doc.PaletteIndex.capacity));
            entryNumber(entry, entryPath, doc.PaletteIndexCount());
            doc.PaletteIndex.append(quint16(number(entry, entryPath, "palette", 0, 65535)));
        }
        short_ = short_ || (k < PaletteKindCount && list.size() < expected);
    }
}

SpriteEntry readSprite(const QJsonObject &o, const QString &path, qint64 n, QStringList &checks) {
    onlyFields(o, path, {"n", "x", "y", "page", "ptr_byte_3", "w", "h", "pad", "pixels_check"});
    entryNumber(o, path, n);
    const QJsonValue check = field(o, path, "pixels_check");
    if (!check.isString())
        refuseField(member(path, "pixels_check"), QStringLiteral("not a text"));
    checks.append(check.toString());
    SpriteEntry e;
    e.ptr = quint32(number(o, path, "x", 0, 255)) | quint32(number(o, path, "y", 0, 255)) << 8 |
            quint32(number(o, path, "page", 0, 255)) << 16 |
            quint32(number(o, path, "ptr_byte_3", 0, 255)) << 24;
    e.w = quint8(number(o, path, "w", 0, 255));
    e.h = quint8(number(o, path, "h", 0, 255));
    e.pad = quint16(number(o, path, "pad", 0, 65535));
    return e;
}

CarInfoRecord readCar(const QJsonObject &o, const QString &path) {
    onlyFields(o, path,
               {"model", "sprite", "w", "h", "passengers", "wreck", "rating", "front_wheel_offset",
                "rear_wheel_offset", "front_window_offset", "rear_window_offset", "info_flags",
                "info_flags_2", "remap", "doors"});
    CarInfoRecord car;
    const auto u8 = [&](const char *key) {
        return quint8(number(o, path, key, 0, 255));
    };
    const auto s8 = [&](const char *key) {
        return qint8(number(o, path, key, -128, 127));
    };
    car.model = u8("model");
    car.sprite = u8("sprite");
    car.w = u8("w");
    car.h = u8("h");
    car.passengers = u8("passengers");
    car.wreck = u8("wreck");
    car.rating = u8("rating");
    car.front_wheel_offset = s8("front_wheel_offset");
    car.rear_wheel_offset = s8("rear_wheel_offset");
    car.front_window_offset = s8("front_window_offset");
    car.rear_window_offset = s8("rear_window_offset");
    car.info_flags = u8("info_flags");
    car.info_flags_2 = u8("info_flags_2");
    const QString remapPath = member(path, "remap");
    const QJsonArray remap = array(o, path, "remap");
    if (remap.size() > 255)
        refuseField(remapPath, QStringLiteral("%1 remaps, more than 255").arg(remap.size()));
    car.num_remaps = quint8(remap.size());
    for (qsizetype r = 0; r < remap.size(); ++r)
        car.remap[std::size_t(r)] = quint8(number(remap[r], element(remapPath, r), 0, 255));
    const QString doorsPath = member(path, "doors");
    const QJsonArray doors = array(o, path, "doors");
    if (doors.size() > 255)
        refuseField(doorsPath, QStringLiteral("%1 doors, more than 255").arg(doors.size()));
    car.num_doors = quint8(doors.size());
    for (qsizetype d = 0; d < doors.size(); ++d) {
        const QString doorPath = element(doorsPath, d);
        const QJsonArray pair = array(doors[d], doorPath);
        if (pair.size() != 2)
            refuseField(doorPath, QStringLiteral("not a pair [rx, ry]"));
        car.doors[std::size_t(d)] = {qint8(number(pair[0], element(doorPath, 0), -128, 127)),
                                     qint8(number(pair[1], element(doorPath, 1), -128, 127))};
    }
    return car;
}

DeltaIndexEntry readDeltaEntry(const QJsonObject &o, const QString &path, qint64 n) {
    onlyFields(o, path, {"n", "sprite", "pad", "sizes"});
    entryNumber(o, path, n);
    DeltaIndexEntry entry;
    entry.sprite = quint16(number(o, path, "sprite", 0, 65535));
    entry.pad = quint8(number(o, path, "pad", 0, 255));
    const QString sizesPath = member(path, "sizes");
    const QJsonArray sizes = array(o, path, "sizes");
    if (sizes.size() > DeltasPerSprite)
        refuseField(sizesPath,
                    QStringLiteral("%1 deltas, more than %2").arg(sizes.size()).arg(DeltasPerSprite));
    entry.delta_count = quint8(sizes.size());
    for (qsizetype d = 0; d < sizes.size(); ++d)
        entry.size[std::size_t(d)] = quint16(number(sizes[d], element(sizesPath, d), 0, 65535));
    return entry;
}

QByteArray chunkTag(const QJsonValue &value, const QString &path) {
    const QString tag = value.toString();
    if (!value.isString() || tag.size() != 4 || tag.toLatin1().size() != 4 ||
        QString::fromLatin1(tag.toLatin1()) != tag)
        refuseField(path, QStringLiteral("not four characters"));
    // The reader would take such a chunk for its own and the file would no longer open.
    if (isKnownTag(tag))
        refuseField(path, QStringLiteral("\"%1\" is a chunk the editor writes itself").arg(tag));
    return tag.toLatin1();
}

QString rawFile(const QJsonValue &value, const QString &path) {
    const QString file = value.toString();
    static const QString prefix = QStringLiteral("raw/");
    if (!value.isString() || !file.startsWith(prefix) || file.size() == prefix.size() ||
        file.indexOf(QLatin1Char('/'), prefix.size()) >= 0 || file.contains(QLatin1Char('\\')) ||
        file.endsWith(QLatin1String("/..")) || file == QLatin1String("raw/.") ||
        file == QLatin1String("raw/.."))
        refuseField(path, QStringLiteral("not the name of a file in raw/"));
    return file;
}

} // namespace

QByteArray styleJson(const StyleDocument &doc, const FolderFacts &facts) {
    // The lists of entries are written by hand, one entry a line; the rest through QJsonDocument
    // with a marker where each list goes.
    const std::pair<const char *, QByteArray> lists[] = {{"palette_index", paletteIndexText(doc)},
                                                         {"sprites", spritesText(doc, facts.spriteChecks)},
                                                         {"cars", carsText(doc)},
                                                         {"deltas", deltasText(doc)}};
    QJsonObject root;
    for (const auto &[key, text] : lists)
        root[key] = QStringLiteral("@%1@").arg(key);
    root["$schema"] = StyleSchemaName;
    root["version"] = facts.version;
    root["tile_rows"] = facts.tileRows;
    root["sprite_rows"] = facts.spriteRows;
    root["sprite_pages_check"] = facts.spritePagesCheck;
    root["physical_palettes"] = doc.PhysicalPaletteCount;
    root["palette_checks"] = QJsonArray::fromStringList(facts.paletteChecks);
    root["palette_spare_bytes"] = spareBytesJson(doc);
    QJsonObject paletteCounts, spriteCounts;
    for (int k = 0; k < PaletteKindCount; ++k)
        paletteCounts[PaletteKindNames[std::size_t(k)]] = doc.PaletteCounts[std::size_t(k)];
    for (int k = 0; k < SpriteKindCount; ++k)
        spriteCounts[SpriteKindNames[std::size_t(k)]] = doc.SpriteBases[std::size_t(k)];
    root["palette_counts"] = paletteCounts;
    root["sprite_counts"] = spriteCounts;
    root["sprite_index_bytes"] = qint64(doc.SpriteIndexSize);
    root["recycle"] = numbers(doc.RecycleList);
    QJsonObject surfaces;
    for (int s = 0; s < SurfaceListCount; ++s) {
        QJsonArray tiles;
        for (const QString &line : doc.SurfaceColumns[std::size_t(s)])
            tiles.append(line.toLongLong());
        surfaces[SurfaceLabels[std::size_t(s)]] = tiles;
    }
    root["surfaces"] = surfaces;
    root["object_info"] = hexLines(doc.ObjectInfo);
    QJsonArray unknown;
    for (const UnknownChunk &chunk : facts.unknownChunks)
        unknown.append(QJsonObject{{"tag", QString::fromLatin1(chunk.tag)}, {"file", chunk.file}});
    root["unknown_chunks"] = unknown;
    QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    for (const auto &[key, list] : lists)
        text.replace("\"@" + QByteArray(key) + "@\"", list);
    return text;
}

FolderFacts readStyleJson(const QByteArray &text, StyleDocument &doc) {
    // What the parser holds for a text of short numbers and names, with room to spare; past that
    // it would end the program rather than report the shortage.
    requireHeadroom(8 * text.size() + (1 << 20));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = text.left(error.offset);
        refuseField(QStringLiteral("line %1").arg(before.count('\n') + 1),
                    QStringLiteral("does not parse (%1)").arg(error.errorString()));
    }
    if (!json.isObject())
        refuseField(QStringLiteral("line 1"), QStringLiteral("not an object"));
    const QJsonObject root = json.object();
    onlyFields(root, QString(),
               {"$schema", "version", "tile_rows", "sprite_rows", "sprite_pages_check", "physical_palettes",
                "palette_checks", "palette_spare_bytes", "palette_counts", "palette_index", "sprite_counts",
                "sprites", "sprite_index_bytes", "recycle", "cars", "surfaces", "object_info", "deltas",
                "unknown_chunks"});
    // Optional: a folder from before the schema has none.
    if (root.contains("$schema") && !root.value("$schema").isString())
        refuseField(QStringLiteral("$schema"), QStringLiteral("not a text"));
    FolderFacts facts;
    facts.version = int(number(root, QString(), "version", 0, 65535));
    facts.tileRows = int(number(root, QString(), "tile_rows", 0, PixelStorePageCapacity * PageSide));
    facts.spriteRows = int(number(root, QString(), "sprite_rows", 0, PixelStorePageCapacity * PageSide));
    facts.spritePagesCheck = field(root, QString(), "sprite_pages_check").toString();
    doc.PhysicalPaletteCount = int(number(root, QString(), "physical_palettes", 0, PaletteStoreCapacity));
    const QJsonArray checks = array(root, QString(), "palette_checks");
    for (qsizetype i = 0; i < checks.size(); ++i)
        facts.paletteChecks.append(checks[i].toString());

    const QJsonArray spare = array(root, QString(), "palette_spare_bytes");
    for (qsizetype i = 0; i < spare.size(); ++i) {
        const QString path = element(QStringLiteral("palette_spare_bytes"), i);
        const QJsonObject entry = object(spare[i], path);
        onlyFields(entry, path, {"palette", "bytes"});
        const int p = int(number(entry, path, "palette", 0, doc.PhysicalPaletteCount - 1));
        const QByteArray bytes = readHexLines(array(entry, path, "bytes"), member(path, "bytes"));
        if (bytes.size() != 256)
            refuseField(member(path, "bytes"), QStringLiteral("%1 bytes, not 256").arg(bytes.size()));
        for (int c = 0; c < 256; ++c)
            doc.PhysicalPalettes[physicalColourOffset(p, c) + 3] = bytes[c];
    }

    const QJsonObject paletteCounts = object(root, QString(), "palette_counts");
    onlyFields(paletteCounts, "palette_counts",
               {"tile", "sprite", "car_remap", "ped_remap", "code_obj_remap", "map_obj_remap", "user_remap",
                "font_remap"});
    for (int k = 0; k < PaletteKindCount; ++k)
        doc.PaletteCounts[std::size_t(k)] =
            quint16(number(paletteCounts, "palette_counts", PaletteKindNames[std::size_t(k)], 0, 65535));
    doc.derivePaletteBases();
    readPaletteIndex(root, doc);
    const QJsonObject spriteCounts = object(root, QString(), "sprite_counts");
    onlyFields(spriteCounts, "sprite_counts", {"car", "ped", "code_obj", "map_obj", "user", "font"});
    for (int k = 0; k < SpriteKindCount; ++k)
        doc.SpriteBases[std::size_t(k)] =
            quint16(number(spriteCounts, "sprite_counts", SpriteKindNames[std::size_t(k)], 0, 65535));

    const QJsonArray sprites = array(root, QString(), "sprites");
    if (sprites.size() > SpriteIndexCapacity)
        refuseField("sprites",
                    QStringLiteral("%1 entries, more than %2").arg(sprites.size()).arg(SpriteIndexCapacity));
    for (qsizetype i = 0; i < sprites.size(); ++i) {
        const QString path = element(QStringLiteral("sprites"), i);
        doc.SpriteIndex.append(readSprite(object(sprites[i], path), path, i, facts.spriteChecks));
    }
    // The last entry may be cut short: the index size says how many of its bytes the file holds.
    const qint64 full = qint64(sprites.size()) * SpriteEntryBytes;
    doc.SpriteIndexSize = quint32(number(root, QString(), "sprite_index_bytes",
                                         std::max<qint64>(0, full - SpriteEntryBytes + 1), full));

    readNumbers<quint8>(array(root, QString(), "recycle"), "recycle", doc.RecycleList);
    const QJsonArray cars = array(root, QString(), "cars");
    if (cars.size() > CarInfoCapacity)
        refuseField("cars", QStringLiteral("%1 cars, more than %2").arg(cars.size()).arg(CarInfoCapacity));
    for (qsizetype i = 0; i < cars.size(); ++i) {
        const QString path = element(QStringLiteral("cars"), i);
        doc.CarInfoTable.append(readCar(object(cars[i], path), path));
    }
    doc.deriveSpriteSums();

    const QJsonObject surfaces = object(root, QString(), "surfaces");
    for (const QString &key : surfaces.keys())
        if (std::find(SurfaceLabels.begin(), SurfaceLabels.end(), key) == SurfaceLabels.end())
            refuseField(member("surfaces", key), QStringLiteral("no such surface list; is it misspelt?"));
    for (int s = 0; s < SurfaceListCount; ++s) {
        const QString &name = SurfaceLabels[std::size_t(s)];
        const QString path = member("surfaces", name);
        const QJsonArray tiles = array(surfaces, "surfaces", name);
        QStringList &column = doc.SurfaceColumns[std::size_t(s)];
        column.clear();
        // Tile 0 would end its list early, so the lists hold 1 to 65535.
        for (qsizetype i = 0; i < tiles.size(); ++i)
            column.append(QString::number(number(tiles[i], element(path, i), 1, 65535)));
    }
    try {
        doc.SurfaceLists = rebuildSurfaceLists(doc.SurfaceColumns);
    } catch (const EditorError &error) {
        refuseField("surfaces", error.text());
    }

    doc.ObjectInfo = readHexLines(array(root, QString(), "object_info"), "object_info");
    const QJsonArray deltas = array(root, QString(), "deltas");
    if (deltas.size() > DeltaIndexCapacity)
        refuseField("deltas",
                    QStringLiteral("%1 entries, more than %2").arg(deltas.size()).arg(DeltaIndexCapacity));
    for (qsizetype i = 0; i < deltas.size(); ++i) {
        const QString path = element(QStringLiteral("deltas"), i);
        doc.DeltaIndex.append(readDeltaEntry(object(deltas[i], path), path, i));
    }

    const QJsonArray unknown = array(root, QString(), "unknown_chunks");
    for (qsizetype i = 0; i < unknown.size(); ++i) {
        const QString path = element(QStringLiteral("unknown_chunks"), i);
        const QJsonObject entry = object(unknown[i], path);
        onlyFields(entry, path, {"tag", "file"});
        facts.unknownChunks.append({chunkTag(field(entry, path, "tag"), member(path, "tag")),
                                    rawFile(field(entry, path, "file"), member(path, "file"))});
    }
    return facts;
}
