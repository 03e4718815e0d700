#pragma once

#include "cars/carphysics.h"
#include "graphics/spriteentries.h"
#include "style/recyclelist.h"
#include "style/styledocument.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QSize>
#include <QStringList>
#include <array>
#include <optional>

class Prompts;

// The records right after `car` that share its sprite (their `sprite` is 0).
int subModelCount(const StyleDocument &doc, int car);
// Why `car` cannot be edited, or an empty text when it has a record.
QString noCarRecordMessage(const StyleDocument &doc, int car);

// The script name of a model; "unknown" past the named models.
QString scriptCarName(int model);
// "script car name: %s" for the car of a car sprite.
QString scriptCarNameLine(const StyleDocument &doc, int sprite);
// The info panel of a sprite: its sprite information, and for a car sprite the script car name.
QStringList spriteInfoPanel(const StyleDocument &doc, int sprite);

// The collision size typed into "collision size": each side a whole number 0 to 255, one byte in
// the record. Throws EditorError naming the side otherwise.
inline constexpr int CollisionSizeLimit = 255;
QSize collisionSize(const QString &width, const QString &height);
// A typed value the record keeps in one byte, 0 to 255. Throws EditorError naming `what` otherwise,
// so a value past the byte is refused rather than saved as another.
quint8 recordByte(const QString &what, const QString &text);

// Doors as the editor shows them: the walk-in mark is folded into the stored x as +-64.
struct ShownDoor {
    int x = 0;
    int y = 0;
    bool walkIn = false;
    bool operator==(const ShownDoor &) const = default;
};
ShownDoor shownDoor(DoorPosition door);
DoorPosition storedDoor(int x, int y, bool walkIn);

// The door grid: one row of texts per door, no rows when the car has no doors.
struct DoorRow {
    QString x;
    QString y;
    QString walkIn; // any text marks a walk-in door
    bool operator==(const DoorRow &) const = default;
};
using DoorRows = QList<DoorRow>;
inline constexpr int EditorDoorLimit = 8;
DoorRows doorRows(const CarInfoRecord &car);
// Appends a door at the centre; false when the car already has as many doors as the editor allows.
bool addDoor(DoorRows &rows);
void removeDoor(DoorRows &rows, int row);
// The door of `row` becomes the door above it, moved to the left side of the car.
void mirrorPrevious(DoorRows &rows, int row);
// Throws the conversion error for a cell that is no whole number, and refuses a door the record
// cannot hold: x -63 to 63 (-64 to 63 walk-in, as the mark takes the record's +-64), y -128 to 127.
void storeDoors(CarInfoRecord &car, const DoorRows &rows);

// The ratings list: each entry stands for a range of stored values and writes the first of them.
inline constexpr std::array<const char *, 4> RatingTexts = {"bad", "average", "good", "doesn't appear"};
inline constexpr int DoesntAppearEntry = 3;
extern const QString RatingHelp;
// The entry of a stored rating, -1 for a value the list does not show.
int ratingEntry(int rating);
quint8 ratingValue(int entry);

inline constexpr std::array<const char *, 11> WreckTexts = {
    "0 - trailer wreck",         "1 - small truck wreck",    "2 - normal car wreck #1",
    "3 - normal car wreck #2",   "4 - limo wreck",           "5 - long thick car wreck (jefferson)",
    "6 - small car wreck (bug)", "7 - big long truck wreck", "8 - van wreck",
    "9 - tank wreck ??",         "99 - can't wreck"};
int wreckEntry(int wreck);
quint8 wreckValue(int entry);

// The flag list: entries 0 to 7 are the bits of `info_flags`, 8 to 15 those of `info_flags_2`;
// the last two stand for no bit.
inline constexpr int FlagEntryCount = 18;
extern const std::array<QString, FlagEntryCount> FlagTexts;
using FlagChecks = std::array<bool, FlagEntryCount>;
FlagChecks flagChecks(const CarInfoRecord &car);
// Lights that cannot go together, and a cab that is no trailer, decided on the checks as they stand.
void applyFlagRules(FlagChecks &checks);
void storeFlags(CarInfoRecord &car, const FlagChecks &checks);

// The four offsets along the car the offset marker sets, in the order of the offset list.
inline constexpr std::array<const char *, 4> OffsetTexts = {" front wheels", " rear wheels", " front window",
                                                            " rear window"};
qint8 carOffset(const CarInfoRecord &car, int entry);
void setCarOffset(CarInfoRecord &car, int entry, int offset);

QStringList remapLines(const CarInfoRecord &car);
// A first line that is no number empties the list; more lines than `num_remaps` can count, and
// remaps past a byte, are refused. Throws EditorError, leaving `car` as it was.
void storeRemaps(CarInfoRecord &car, const QStringList &lines);
// The colours "view" shows for the remap on `line`: remap 0 is the sprite's own palette.
QList<QRgb> remapColours(const StyleDocument &doc, const QString &line, int sprite);

bool isRecycled(const RecycleTable &list, int model);
void setRecycled(RecycleTable &list, int model, bool recycled);

// What "Ok" of the car editor stores, in this order: the car's entry in the recycle list, the
// record, and (when the car has a physics block) the physics lines whose value changed. All or nothing.
struct CarEdit {
    int car = 0;
    CarInfoRecord record;
    bool recycled = false;
    int modelLine = -1;
    // The physics as the block showed them when the editor opened, and as "Ok" leaves them.
    PhysicsSettings shownPhysics;
    PhysicsSettings physics;
};
void commitCarEdit(StyleDocument &doc, const CarEdit &edit);

// "mirror all door locations": every door of every car to the other side; walk-in marks stay.
void mirrorAllDoorLocations(StyleDocument &doc);
