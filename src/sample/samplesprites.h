#pragma once

#include "sample/samplepalettes.h"

#include <QSize>
#include <vector>

class Canvas;

// Top-down cars of the sample styles, drawn facing the top of the sprite.
enum class CarBody { Saloon, Police, Taxi, Bus, Sports, Pickup, Bubble, Van, Truck };
inline constexpr int CarBodyCount = 9;

// Where the parts of a car lie in its sprite, in sprite pixels.
struct CarGeometry {
    int left, right, top, bottom; // body, right and bottom exclusive
    int frontWheel, rearWheel;    // wheel centre rows
    int windscreenTop, windscreenBottom, roofEnd;
    int doorTop, doorBottom;
};

QSize carSpriteSize(CarBody body);
CarGeometry carGeometry(CarBody body, QSize size);
void drawCar(Canvas &sprite, CarBody body);

// The changes a car shows through its deltas.
enum class CarChange {
    DentFrontLeft,
    DentFrontRight,
    DentRearLeft,
    DentRearRight,
    CrackedWindscreen,
    LeftDoorOpen,
    RightDoorOpen,
    Headlights,
    BrakeLights,
    RoofLightLeft, // police light bar; a taxi's lit sign
    RoofLightRight,
};
std::vector<CarChange> carChanges(CarBody body);
// Draws the change over a picture made by drawCar.
void drawCarChange(Canvas &sprite, CarBody body, CarChange change);

// Pedestrian frames, 16 × 16: eight walking steps, one shooting, one lying dead.
inline constexpr QSize PedSize(16, 16);
inline constexpr int PedFrameCount = 10;
void drawPed(Canvas &sprite, int frame);

// Code objects, map objects and user objects, in that order.
enum class ObjectShape {
    Bullet,
    Rocket,
    ExplosionSmall,
    ExplosionLarge,
    ExplosionSmoke,
    Arrow,
    Cone,
    Bin,
    Tree,
    Bench,
    Crate,
    Barrel,
    Lamp,
    PhoneBox,
    Marker,
    Flag,
    Star,
    Exclamation,
};
inline constexpr int ObjectShapeCount = 18;
inline constexpr int FirstMapObject = static_cast<int>(ObjectShape::Cone);
inline constexpr int FirstUserObject = static_cast<int>(ObjectShape::Marker);

QSize objectSize(ObjectShape shape);
void drawObject(Canvas &sprite, ObjectShape shape);
PaletteRecipe objectRecipe(ObjectShape shape);

// Font glyphs, 12 × 16, for the characters of GlyphCharacters.
inline constexpr QSize GlyphSize(12, 16);
inline constexpr char GlyphCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr int GlyphCount = 36;
void drawGlyph(Canvas &sprite, int glyph);
