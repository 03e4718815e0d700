#include "cars/carrecords.h"
#include "cars/carscript.h"

#include "platform/editorerror.h"
#include "sample/samplestyle.h"

#include <gtest/gtest.h>

namespace {

StyleDocument carsWithSprites(std::initializer_list<int> sprites) {
    StyleDocument doc;
    for (const int sprite : sprites) {
        CarInfoRecord car;
        car.sprite = static_cast<quint8>(sprite);
        car.model = static_cast<quint8>(doc.CarCount() + 40);
        doc.CarInfoTable.append(car);
    }
    doc.deriveSpriteSums();
    return doc;
}

TEST(CarLookup, FindsTheCarWhoseLastSpriteItIs) {
    const StyleDocument doc = carsWithSprites({1, 2, 0, 0, 1});
    EXPECT_EQ(carOfSprite(doc, 0), 0);
    EXPECT_EQ(carOfSprite(doc, 2), 1);
    EXPECT_EQ(carOfSprite(doc, 3), 4);
    EXPECT_EQ(carOfSprite(doc, 1), 1) << "sprite 1 is car 1 directly";
    EXPECT_EQ(carOfSprite(doc, 9), 9) << "no match gives the sprite number";
    EXPECT_EQ(carOfSprite(carsWithSprites({0, 1}), 0), 0) << "the walk stops at a sum of 0";

    EXPECT_EQ(subModelCount(doc, 1), 2);
    EXPECT_EQ(subModelCount(doc, 2), 1);
    EXPECT_EQ(subModelCount(doc, 4), 0);
    EXPECT_TRUE(noCarRecordMessage(doc, 4).isEmpty());
    EXPECT_FALSE(noCarRecordMessage(doc, 5).isEmpty());
    EXPECT_FALSE(noCarRecordMessage(doc, 9).isEmpty());
}

TEST(CarLookup, ScriptCarNames) {
    StyleDocument doc = carsWithSprites({1, 1});
    doc.CarInfoTable[0].model = 86;
    doc.CarInfoTable[1].model = 87;
    EXPECT_EQ(scriptCarNameLine(doc, 0), "script car name: KRSNABUS");
    EXPECT_EQ(scriptCarNameLine(doc, 1), "script car name: unknown");
    EXPECT_EQ(scriptCarNameLine(doc, 7), "script car name: unknown") << "no record";
    EXPECT_EQ(scriptCarName(72), "WRECK0");
}

TEST(CarDoors, WalkInEncodingBothWays) {
    EXPECT_EQ(shownDoor({70, 3}), (ShownDoor{6, 3, true}));
    EXPECT_EQ(shownDoor({-70, 3}), (ShownDoor{-6, 3, true}));
    EXPECT_EQ(shownDoor({63, -2}), (ShownDoor{63, -2, false}));
    EXPECT_EQ(shownDoor({64, 0}), (ShownDoor{0, 0, true}));
    EXPECT_EQ(shownDoor({-64, 0}), (ShownDoor{0, 0, true}));
    EXPECT_EQ(storedDoor(-6, 1, true).rx, -70);
    EXPECT_EQ(storedDoor(6, 1, true).rx, 70);
    EXPECT_EQ(storedDoor(0, 1, true).rx, 64);
    EXPECT_EQ(storedDoor(-6, 1, false).rx, -6);
    EXPECT_EQ(storedDoor(100, 300, true).rx, static_cast<qint8>(164)) << "low 8 bits";
    EXPECT_EQ(storedDoor(100, 300, true).ry, static_cast<qint8>(300 & 0xff));
}

TEST(CarDoors, GridAddRemoveAndMirror) {
    DoorRows rows = {{"10", "5", ""}, {"20", "6", "X"}, {"30", "7", ""}};
    removeDoor(rows, 0);
    EXPECT_EQ(rows, (DoorRows{{"20", "6", "X"}, {"30", "7", ""}}));

    rows = {{"12", "5", "X"}, {"3", "3", ""}, {"-12", "4", ""}, {"9", "9", ""}};
    mirrorPrevious(rows, 1);
    EXPECT_EQ(rows[1], (DoorRow{"-12", "5", "X"}));
    mirrorPrevious(rows, 3);
    EXPECT_EQ(rows[3], (DoorRow{"-12", "4", ""}));
    const DoorRows before = rows;
    mirrorPrevious(rows, 0);
    EXPECT_EQ(rows, before) << "row 0 has no door above";

    EXPECT_TRUE(addDoor(rows));
    EXPECT_EQ(rows.size(), 5);
    EXPECT_EQ(rows.back(), (DoorRow{"0", "0", ""}));
    while (rows.size() < 8)
        addDoor(rows);
    EXPECT_FALSE(addDoor(rows));
    EXPECT_EQ(rows.size(), 8);
}

TEST(CarDoors, StoringTheGrid) {
    CarInfoRecord car;
    storeDoors(car, {{"-6", "2", "X"}, {"5", "-3", ""}});
    EXPECT_EQ(car.num_doors, 2);
    EXPECT_EQ(car.doors[0], (DoorPosition{-70, 2}));
    EXPECT_EQ(car.doors[1], (DoorPosition{5, -3}));
    EXPECT_EQ(doorRows(car), (DoorRows{{"-6", "2", "X"}, {"5", "-3", ""}}));

    DoorRows rows;
    EXPECT_TRUE(addDoor(rows));
    removeDoor(rows, 0);
    CarInfoRecord none;
    storeDoors(none, rows);
    EXPECT_EQ(none.num_doors, 0) << "one door added and removed again leaves none";

    // Only what reads back as typed: x 70 would come back as a walk-in door at 6, -64 as one at 0.
    EXPECT_THROW(storeDoors(car, {{"70", "0", ""}}), EditorError);
    EXPECT_THROW(storeDoors(car, {{"-64", "0", ""}}), EditorError);
    EXPECT_THROW(storeDoors(car, {{"64", "0", "X"}}), EditorError);
    EXPECT_THROW(storeDoors(car, {{"0", "128", ""}}), EditorError);
    storeDoors(car, {{"-64", "-128", "X"}, {"63", "127", ""}});
    EXPECT_EQ(car.doors[0], (DoorPosition{-128, -128}));
    EXPECT_EQ(car.doors[1], (DoorPosition{63, 127}));

    const CarInfoRecord kept = car;
    EXPECT_THROW(storeDoors(car, {{"1", "1", ""}, {"x", "1", ""}}), EditorError);
    EXPECT_EQ(car, kept);
}

TEST(CarDoors, MirrorAllTwiceRestores) {
    StyleDocument doc = makeSampleStyle();
    doc.CarInfoTable[0].doors[0].rx = -128;
    const StyleDocument original = doc;
    mirrorAllDoorLocations(doc);
    EXPECT_EQ(doc.CarInfoTable[0].doors[0].rx, -128);
    const CarInfoRecord &bus = doc.CarInfoTable[3];
    for (int d = 0; d < bus.num_doors; ++d) {
        const ShownDoor was = shownDoor(original.CarInfoTable[3].doors[static_cast<std::size_t>(d)]);
        const ShownDoor now = shownDoor(bus.doors[static_cast<std::size_t>(d)]);
        EXPECT_EQ(now, (ShownDoor{-was.x, was.y, was.walkIn})) << "door " << d;
    }
    mirrorAllDoorLocations(doc);
    EXPECT_EQ(doc, original);
}

TEST(CarLists, RatingAndWreckMappings) {
    const std::pair<int, int> ratings[] = {{1, 0},  {2, 0},  {3, 0},  {11, 1}, {13, 1},  {21, 2},
                                           {23, 2}, {99, 3}, {0, -1}, {4, -1}, {24, -1}, {98, -1}};
    for (const auto &[stored, entry] : ratings)
        EXPECT_EQ(ratingEntry(stored), entry) << stored;
    EXPECT_EQ(ratingValue(0), 1);
    EXPECT_EQ(ratingValue(1), 11);
    EXPECT_EQ(ratingValue(2), 21);
    EXPECT_EQ(ratingValue(3), 99);
    EXPECT_EQ(wreckEntry(0), 0);
    EXPECT_EQ(wreckEntry(9), 9);
    EXPECT_EQ(wreckEntry(99), 10);
    EXPECT_EQ(wreckEntry(10), -1);
    EXPECT_EQ(wreckValue(10), 99);
    EXPECT_EQ(wreckValue(4), 4);
}

FlagChecks checked(std::initializer_list<int> entries) {
    FlagChecks checks{};
    for (const int e : entries)
        checks[static_cast<std::size_t>(e)] = true;
    return checks;
}

TEST(CarFlags, RulesRunInOrderOnTheChecks) {
    constexpr int Emergency = 1, RoofLights = 2, Cab = 3, Trailer = 4, ForHire = 5, RoofDecal = 6, Rear = 7;
    FlagChecks checks = checked({Emergency, RoofLights});
    applyFlagRules(checks);
    EXPECT_EQ(checks, checked({Emergency})) << "roof lights stay off beside emergency lights";
    checks = checked({Rear});
    applyFlagRules(checks);
    EXPECT_EQ(checks, checked({Rear, Emergency}));
    checks = checked({Cab, Trailer, ForHire, RoofDecal, 10});
    applyFlagRules(checks);
    EXPECT_EQ(checks, checked({Cab, ForHire, 10}));
    checks = checked({RoofLights, RoofDecal});
    applyFlagRules(checks);
    EXPECT_EQ(checks, checked({RoofLights}));
}

TEST(CarFlags, EntriesMapToTheTwoFlagBytes) {
    CarInfoRecord car;
    car.info_flags = 0x81;
    car.info_flags_2 = 0x84;
    const FlagChecks checks = flagChecks(car);
    EXPECT_EQ(checks, checked({0, 7, 10, 15}));
    FlagChecks more = checks;
    more[16] = more[17] = true;
    CarInfoRecord stored;
    storeFlags(stored, more);
    EXPECT_EQ(stored.info_flags, 0x81);
    EXPECT_EQ(stored.info_flags_2, 0x84) << "the last two entries stand for no bit";
    EXPECT_EQ(FlagTexts[15], "info_flags_2 bit 6");
}

TEST(CarRemaps, StoringTheList) {
    CarInfoRecord car;
    EXPECT_THROW(storeRemaps(car, {"3", "260", "7"}), EditorError) << "past a byte";
    EXPECT_EQ(car, CarInfoRecord());
    storeRemaps(car, {"3", "255", "7"});
    EXPECT_EQ(car.num_remaps, 3);
    EXPECT_EQ(remapLines(car), QStringList({"3", "255", "7"}));
    storeRemaps(car, {"", "5"});
    EXPECT_EQ(car.num_remaps, 0) << "an empty first line empties the list";

    storeRemaps(car, {"1"});
    const CarInfoRecord kept = car;
    EXPECT_THROW(storeRemaps(car, {"1", ""}), EditorError) << "an empty last line is no number";
    QStringList many(256, "1");
    EXPECT_THROW(storeRemaps(car, many), EditorError);
    EXPECT_EQ(car, kept);
    many.removeLast();
    storeRemaps(car, many);
    EXPECT_EQ(car.num_remaps, 255);
}

TEST(CarEditCommit, RecycleListRecordAndPhysicsTogether) {
    StyleDocument doc = makeSampleStyle();
    doc.CarScript = makeSampleCarScript(doc);
    CarEdit edit;
    edit.car = 2;
    edit.record = doc.CarInfoTable[2];
    edit.record.model = 200;
    edit.recycled = true;
    edit.modelLine = findModelLine(doc.CarScript, 56);
    edit.physics.positions[0] = 2000;
    edit.physics.name = "NEW";
    StyleDocument changed = doc;
    commitCarEdit(changed, edit);
    EXPECT_EQ(changed.CarInfoTable[2].model, 200);
    EXPECT_TRUE(isRecycled(changed.RecycleList, 200));
    EXPECT_EQ(changed.CarScript[edit.modelLine - 1], "{NEW}");
    EXPECT_EQ(changed.CarScript[edit.modelLine + 4], "f2.000 {mass}");

    edit.recycled = false;
    commitCarEdit(changed, edit);
    EXPECT_FALSE(isRecycled(changed.RecycleList, 200));
    EXPECT_EQ(changed.RecycleList, doc.RecycleList);

    edit.modelLine = doc.CarScript.size() - 3;
    const StyleDocument before = changed;
    EXPECT_THROW(commitCarEdit(changed, edit), EditorError);
    EXPECT_EQ(changed, before);
}

TEST(CarEditCommit, FullRecycleListIsRefusedWithNothingChanged) {
    StyleDocument doc = makeSampleStyle();
    doc.RecycleList.clear();
    for (int m = 0; m < 256; ++m)
        doc.RecycleList.append(static_cast<quint8>(m == 200 ? 0 : m));
    CarEdit edit;
    edit.car = 0;
    edit.record = doc.CarInfoTable[0];
    edit.record.model = 200;
    edit.recycled = true;
    const StyleDocument before = doc;
    EXPECT_THROW(commitCarEdit(doc, edit), EditorError);
    EXPECT_EQ(doc, before);
}

} // namespace
