#include "folder/stylejsonschema.h"

#include "folder/folderlayout.h"
#include "style/filerecords.h"
#include "style/surfacelists.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

QJsonObject whole(qint64 low, qint64 high) {
    return {{"type", "integer"}, {"minimum", low}, {"maximum", high}};
}
QJsonObject text() {
    return {{"type", "string"}};
}
QJsonObject listOf(const QJsonObject &items, qint64 most = -1) {
    QJsonObject list{{"type", "array"}, {"items", items}};
    if (most >= 0)
        list["maxItems"] = most;
    return list;
}
// An object with exactly these fields, all of them required.
QJsonObject record(const QJsonObject &fields) {
    return {{"type", "object"},
            {"properties", fields},
            {"required", QJsonArray::fromStringList(fields.keys())},
            {"additionalProperties", false}};
}
QJsonObject hexLines() {
    return listOf({{"type", "string"}, {"pattern", "^([0-9a-fA-F]{2})*$"}});
}
QJsonObject numbered(QJsonObject fields) {
    fields["n"] = QJsonObject{{"type", "integer"}, {"minimum", 0}};
    return record(fields);
}
QJsonObject kindCounts(const QStringList &kinds) {
    QJsonObject fields;
    for (const QString &kind : kinds)
        fields[kind] = whole(0, 65535);
    return record(fields);
}

} // namespace

QByteArray styleJsonSchema() {
    const QStringList paletteKinds(PaletteKindNames.begin(), PaletteKindNames.end());
    QJsonObject paletteLists;
    for (const QString &kind : paletteKinds + QStringList{QStringLiteral("beyond")})
        paletteLists[kind] = listOf(numbered({{"palette", whole(0, 65535)}}), PaletteIndexCapacity);
    QJsonObject surfaces;
    for (const QString &label : SurfaceLabels)
        surfaces[label] = listOf(whole(1, 65535));
    const QJsonObject car = record(
        {{"model", whole(0, 255)},
         {"sprite", whole(0, 255)},
         {"w", whole(0, 255)},
         {"h", whole(0, 255)},
         {"passengers", whole(0, 255)},
         {"wreck", whole(0, 255)},
         {"rating", whole(0, 255)},
         {"front_wheel_offset", whole(-128, 127)},
         {"rear_wheel_offset", whole(-128, 127)},
         {"front_window_offset", whole(-128, 127)},
         {"rear_window_offset", whole(-128, 127)},
         {"info_flags", whole(0, 255)},
         {"info_flags_2", whole(0, 255)},
         {"remap", listOf(whole(0, 255), 255)},
         {"doors",
          listOf(
              QJsonObject{{"type", "array"}, {"items", whole(-128, 127)}, {"minItems", 2}, {"maxItems", 2}},
              255)}});
    const int rows = PixelStorePageCapacity * PageSide;
    QJsonObject root = record(
        {{"version", whole(0, 65535)},
         {"tile_rows", whole(0, rows)},
         {"sprite_rows", whole(0, rows)},
         {"sprite_pages_check", text()},
         {"physical_palettes", whole(0, PaletteStoreCapacity)},
         {"palette_checks", listOf(text())},
         {"palette_spare_bytes",
          listOf(record({{"palette", whole(0, PaletteStoreCapacity - 1)}, {"bytes", hexLines()}}))},
         {"palette_counts", kindCounts(paletteKinds)},
         {"palette_index", record(paletteLists)},
         {"sprite_counts", kindCounts(QStringList(SpriteKindNames.begin(), SpriteKindNames.end()))},
         {"sprites", listOf(numbered({{"x", whole(0, 255)},
                                      {"y", whole(0, 255)},
                                      {"page", whole(0, 255)},
                                      {"ptr_byte_3", whole(0, 255)},
                                      {"w", whole(0, 255)},
                                      {"h", whole(0, 255)},
                                      {"pad", whole(0, 65535)},
                                      {"pixels_check", text()}}),
                            SpriteIndexCapacity)},
         {"sprite_index_bytes", whole(0, qint64(SpriteIndexCapacity) * SpriteEntryBytes)},
         {"recycle", listOf(whole(0, 255), RecycleListCapacity)},
         {"cars", listOf(car, CarInfoCapacity)},
         {"surfaces", record(surfaces)},
         {"object_info", hexLines()},
         {"deltas", listOf(numbered({{"sprite", whole(0, 65535)},
                                     {"pad", whole(0, 255)},
                                     {"sizes", listOf(whole(0, 65535), DeltasPerSprite)}}),
                           DeltaIndexCapacity)},
         {"unknown_chunks",
          listOf(record({{"tag", QJsonObject{{"type", "string"}, {"minLength", 4}, {"maxLength", 4}}},
                         {"file", QJsonObject{{"type", "string"}, {"pattern", "^raw/[^/\\\\]+$"}}}}))}});
    QJsonObject properties = root["properties"].toObject();
    properties["$schema"] = text(); // the one field that may be missing
    root["properties"] = properties;
    root["$schema"] = QStringLiteral("https://json-schema.org/draft/2020-12/schema");
    root["title"] = StyleJsonName;
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
