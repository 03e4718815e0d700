#include "sample/samplesprites.h"

#include "sample/samplepainting.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Room beside the body for the wheels and for doors swung open.
constexpr int SideMargin = 4;

bool inRamp(uchar v, Ramp ramp) {
    return v >= ramp.first && v < ramp.first + ramp.steps;
}
float levelOf(uchar v, Ramp ramp) {
    return static_cast<float>(v - ramp.first) / static_cast<float>(ramp.steps - 1);
}

// Body proportions, as fractions of the body length from the front.
struct CarLayout {
    float windscreenTop, windscreenBottom, roofEnd, rearWindowEnd;
    float frontWheel, rearWheel;
    float doorTop, doorBottom;
};

CarLayout layoutOf(CarBody body) {
    switch (body) {
    case CarBody::Sports:
        return {0.34f, 0.46f, 0.60f, 0.60f, 0.20f, 0.78f, 0.42f, 0.60f};
    case CarBody::Bus:
        return {0.01f, 0.06f, 0.98f, 0.98f, 0.15f, 0.80f, 0.06f, 0.16f};
    case CarBody::Pickup:
        return {0.20f, 0.30f, 0.46f, 0.50f, 0.17f, 0.78f, 0.30f, 0.48f};
    case CarBody::Bubble:
        return {0.06f, 0.32f, 0.70f, 0.80f, 0.30f, 0.82f, 0.02f, 0.30f};
    case CarBody::Van:
        return {0.12f, 0.22f, 0.98f, 0.98f, 0.18f, 0.82f, 0.22f, 0.40f};
    case CarBody::Truck:
        return {0.04f, 0.11f, 0.25f, 0.28f, 0.12f, 0.82f, 0.11f, 0.24f};
    default:
        return {0.27f, 0.37f, 0.64f, 0.72f, 0.18f, 0.80f, 0.36f, 0.58f};
    }
}

int rowAt(const CarGeometry &g, float fraction) {
    return g.top + static_cast<int>(std::lround(fraction * static_cast<float>(g.bottom - g.top)));
}

int cornerRadius(CarBody body, const CarGeometry &g) {
    const int width = g.right - g.left;
    return body == CarBody::Bubble ? width / 2 : std::max(3, width / 4);
}

bool insideBody(const CarGeometry &g, int radius, int x, int y) {
    if (x < g.left || x >= g.right || y < g.top || y >= g.bottom)
        return false;
    const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
    const float cx =
        std::clamp(px, static_cast<float>(g.left + radius), static_cast<float>(g.right - radius));
    const float cy =
        std::clamp(py, static_cast<float>(g.top + radius), static_cast<float>(g.bottom - radius));
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= static_cast<float>(radius * radius);
}

void drawGlass(Canvas &s, const CarGeometry &g, int top, int bottom, int insetTop, int insetBottom) {
    for (int y = top; y < bottom; ++y) {
        const float along = static_cast<float>(y - top) / static_cast<float>(std::max(1, bottom - top));
        const int inset =
            insetTop + static_cast<int>(std::lround(static_cast<float>(insetBottom - insetTop) * along));
        for (int x = g.left + inset; x < g.right - inset; ++x)
            s.set(x, y, shade(RampB, (x - y) % 7 == 0 ? 0.85f : 0.3f + 0.4f * along));
    }
}

struct Lamps {
    int rows[2];
    int xs[6];
};

Lamps headlights(const CarGeometry &g) {
    return {{g.top + 1, g.top + 2},
            {g.left + 2, g.left + 3, g.left + 4, g.right - 5, g.right - 4, g.right - 3}};
}
Lamps tailLights(const CarGeometry &g) {
    return {{g.bottom - 3, g.bottom - 2},
            {g.left + 2, g.left + 3, g.left + 4, g.right - 5, g.right - 4, g.right - 3}};
}
void fillLamps(Canvas &s, const Lamps &lamps, uchar v) {
    for (const int y : lamps.rows)
        for (const int x : lamps.xs)
            s.set(x, y, v);
}

int roofMiddle(const CarGeometry &g) {
    return (g.windscreenBottom + g.roofEnd) / 2;
}

void drawWheels(Canvas &s, const CarGeometry &g) {
    const int length = std::max(6, (g.bottom - g.top) / 7);
    for (const int centre : {g.frontWheel, g.rearWheel})
        for (int y = centre - length / 2; y < centre - length / 2 + length; ++y) {
            const uchar tyre = shade(RampC, y % 2 != 0 ? 0.08f : 0.22f);
            for (int x = g.left - 2; x < g.left + 2; ++x)
                s.set(x, y, tyre);
            for (int x = g.right - 2; x < g.right + 2; ++x)
                s.set(x, y, tyre);
        }
}

void drawBodyShell(Canvas &s, CarBody body, const CarGeometry &g) {
    const int radius = cornerRadius(body, g);
    const float centre = static_cast<float>(g.left + g.right) / 2;
    const float half = static_cast<float>(g.right - g.left) / 2;
    for (int y = g.top; y < g.bottom; ++y)
        for (int x = g.left; x < g.right; ++x) {
            if (!insideBody(g, radius, x, y))
                continue;
            const bool edge = !insideBody(g, radius, x - 1, y) || !insideBody(g, radius, x + 1, y) ||
                              !insideBody(g, radius, x, y - 1) || !insideBody(g, radius, x, y + 1);
            const float t = (static_cast<float>(x) + 0.5f - centre) / half;
            s.set(x, y, shade(RampA, edge ? 0.12f : 0.66f - 0.32f * t * t));
        }
}

void drawRoof(Canvas &s, const CarGeometry &g, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = g.left + 2; x < g.right - 2; ++x)
            if (inRamp(s.at(x, y), RampA))
                s.set(x, y, shade(RampA, levelOf(s.at(x, y), RampA) + 0.12f));
}

void drawBodyDetails(Canvas &s, CarBody body, const CarGeometry &g) {
    const int roofEnd = g.roofEnd, rearEnd = rowAt(g, layoutOf(body).rearWindowEnd);
    const int centre = (g.left + g.right) / 2, middle = roofMiddle(g);
    switch (body) {
    case CarBody::Police:
        s.fillRect(centre - 7, middle - 1, 14, 3, shade(RampC, 0.5f));
        s.fillRect(centre - 6, middle - 1, 5, 3, accent(AccDarkRed));
        s.fillRect(centre + 1, middle - 1, 5, 3, accent(AccNavy));
        break;
    case CarBody::Taxi:
        s.fillRect(centre - 4, middle - 2, 8, 4, accent(AccGold));
        break;
    case CarBody::Bus:
        for (int y = g.windscreenBottom + 2; y < roofEnd - 2; ++y)
            if ((y - g.windscreenBottom) % 10 < 8) {
                s.fillRect(g.left + 1, y, 2, 1, shade(RampB, 0.55f));
                s.fillRect(g.right - 3, y, 2, 1, shade(RampB, 0.55f));
            }
        for (const int hatch : {g.top + (g.bottom - g.top) / 3, g.top + 2 * (g.bottom - g.top) / 3}) {
            s.fillRect(centre - 4, hatch - 4, 8, 8, shade(RampC, 0.35f));
            s.fillRect(centre - 3, hatch - 3, 6, 6, shade(RampC, 0.6f));
        }
        break;
    case CarBody::Sports:
        for (int y = roofEnd + 2; y < g.bottom - 5; y += 2)
            s.fillRect(g.left + 4, y, g.right - g.left - 8, 1, shade(RampA, 0.2f));
        s.fillRect(g.left, g.bottom - 4, g.right - g.left, 1, shade(RampA, 0.3f));
        break;
    case CarBody::Pickup:
        for (int y = rearEnd + 2; y < g.bottom - 3; ++y)
            s.fillRect(g.left + 2, y, g.right - g.left - 4, 1,
                       shade(RampC, (y - rearEnd) % 4 == 0 ? 0.5f : 0.3f));
        break;
    case CarBody::Van:
        for (int y = g.windscreenBottom + 12; y < roofEnd - 4; y += 12)
            s.fillRect(g.left + 3, y, g.right - g.left - 6, 1, shade(RampA, 0.45f));
        break;
    case CarBody::Truck:
        s.fillRect(g.left, roofEnd, g.right - g.left, rearEnd - roofEnd, shade(RampC, 0.05f));
        for (int y = rearEnd; y < g.bottom; ++y) {
            const float level =
                y == rearEnd || y == g.bottom - 1 ? 0.3f : ((y - rearEnd) % 6 == 0 ? 0.45f : 0.62f);
            s.fillRect(g.left, y, g.right - g.left, 1, shade(RampC, level));
            s.set(g.left, y, shade(RampC, 0.3f));
            s.set(g.right - 1, y, shade(RampC, 0.3f));
        }
        break;
    default:
        break;
    }
}

void dent(Canvas &s, int cx, int cy, quint32 seed) {
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            if (dx * dx + dy * dy > 16)
                continue;
            const uchar v = s.at(cx + dx, cy + dy);
            if (!inRamp(v, RampA))
                continue;
            const float bump = 0.12f + 0.1f * latticeValue(dx + 4, dy + 4, seed);
            s.set(cx + dx, cy + dy, shade(RampA, levelOf(v, RampA) - bump));
        }
    for (int k = -2; k <= 2; ++k)
        if (inRamp(s.at(cx + k, cy + k / 2), RampA))
            s.set(cx + k, cy + k / 2, shade(RampC, 0.75f));
}

void crackWindscreen(Canvas &s, const CarGeometry &g) {
    const int ix = (g.left + g.right) / 2 - 2, iy = (g.windscreenTop + g.windscreenBottom) / 2;
    constexpr std::array<std::array<float, 2>, 6> rays = {
        {{1.0f, 0.0f}, {-1.0f, 0.1f}, {0.8f, 0.6f}, {-0.7f, 0.7f}, {0.6f, -0.8f}, {-0.5f, -0.9f}}};
    for (const auto &ray : rays)
        for (int k = 0; k < 14; ++k) {
            const int x = ix + static_cast<int>(std::lround(ray[0] * static_cast<float>(k)));
            const int y = iy + static_cast<int>(std::lround(ray[1] * static_cast<float>(k)));
            if (inRamp(s.at(x, y), RampB))
                s.set(x, y, shade(RampC, 0.92f));
        }
}

void openDoor(Canvas &s, const CarGeometry &g, bool left) {
    const int width = s.width();
    const auto mirrored = [&](int x) {
        return left ? x : width - 1 - x;
    };
    const int length = std::max(1, g.doorBottom - g.doorTop);
    for (int y = g.doorTop; y < g.doorBottom; ++y) {
        s.set(mirrored(g.left), y, shade(RampC, 0.08f));
        s.set(mirrored(g.left + 1), y, shade(RampC, 0.15f));
    }
    for (int k = 0; k < length; ++k) {
        const int x = g.left - 1 - k * (SideMargin - 1) / length;
        s.set(mirrored(x), g.doorTop + k, shade(RampA, 0.5f));
        if (k < length / 2)
            s.set(mirrored(x + 1), g.doorTop + k, shade(RampB, 0.6f));
    }
}

// Fills every pixel inside the circle with `colour(distance / radius, x, y)`.
template <typename F> void disc(Canvas &s, float cx, float cy, float radius, F &&colour) {
    for (int y = static_cast<int>(cy - radius) - 1; y <= static_cast<int>(cy + radius) + 1; ++y)
        for (int x = static_cast<int>(cx - radius) - 1; x <= static_cast<int>(cx + radius) + 1; ++x) {
            const float d = std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy);
            if (d <= radius)
                s.set(x, y, colour(d / radius, x, y));
        }
}

void drawDeadPed(Canvas &s) {
    disc(s, 8, 9, 6.5f, [](float d, int, int) { return accent(d < 0.6f ? AccRed : AccDarkRed); });
    s.fillRect(5, 5, 6, 6, shade(RampA, 0.5f));
    for (int k = 0; k < 4; ++k) {
        s.set(4 - k, 6 + k, shade(RampA, 0.4f)); // arms flung out
        s.set(11 + k, 6 + k, shade(RampA, 0.4f));
        s.set(6 - k / 2, 11 + k, shade(RampC, 0.25f)); // legs
        s.set(9 + k / 2, 11 + k, shade(RampC, 0.25f));
    }
    s.set(1, 9, shade(RampB, 0.6f));
    s.set(14, 9, shade(RampB, 0.6f));
    disc(s, 8, 3.5f, 2.3f,
         [](float d, int, int y) { return y <= 2 ? shade(RampB, 0.6f) : shade(RampC, 0.4f - 0.2f * d); });
}

void drawStandingPed(Canvas &s, int frame) {
    const bool shooting = frame == 8;
    const int step =
        shooting ? 0 : static_cast<int>(std::lround(3 * std::sin(TwoPi * static_cast<float>(frame) / 8)));
    s.fillRect(5, 7 - step, 2, 3, shade(RampC, 0.2f)); // feet
    s.fillRect(9, 7 + step, 2, 3, shade(RampC, 0.2f));
    s.fillRect(2, 6 + step, 2, 4, shade(RampA, 0.35f)); // arms swing against the legs
    s.set(2, 9 + step, shade(RampB, 0.6f));
    if (shooting) {
        s.fillRect(11, 2, 2, 6, shade(RampA, 0.35f));
        s.fillRect(11, 2, 2, 1, shade(RampB, 0.6f));
        s.fillRect(11, 0, 2, 2, shade(RampC, 0.08f));
    } else {
        s.fillRect(12, 6 - step, 2, 4, shade(RampA, 0.35f));
        s.set(13, 9 - step, shade(RampB, 0.6f));
    }
    // Shoulders: the middle rows of a disc, leaving the feet and arms around them.
    disc(s, 8, 8.5f, 4.6f, [&](float d, int x, int y) {
        return y < 6 || y > 10 ? s.at(x, y) : shade(RampA, 0.62f - 0.3f * d * d);
    });
    disc(s, 8, 7.5f, 2.4f,
         [](float d, int, int y) { return y <= 5 ? shade(RampB, 0.65f) : shade(RampC, 0.45f - 0.25f * d); });
}

void drawExplosion(Canvas &s, float radius, bool smoke) {
    const NoiseField ragged(4, 77), puffs(4, 78);
    const float c = static_cast<float>(s.width()) / 2;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const float dx = static_cast<float>(x) + 0.5f - c, dy = static_cast<float>(y) + 0.5f - c;
            const float d = std::hypot(dx, dy) / (radius * (0.8f + 0.4f * ragged(x, y)));
            if (d > 1)
                continue;
            if (smoke)
                s.set(x, y, d < 0.35f ? shade(RampA, 0.6f) : shade(RampC, 0.25f + 0.5f * puffs(x, y)));
            else
                s.set(x, y, shade(RampA, 1.05f - d));
        }
}

void drawStar(Canvas &s, uchar fill, uchar edge) {
    const float c = static_cast<float>(s.width()) / 2;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const float dx = static_cast<float>(x) + 0.5f - c, dy = static_cast<float>(y) + 0.5f - c;
            const float angle = std::atan2(dx, -dy);
            // Radius of a five-pointed star at this angle: between the inner and outer radius.
            const float spoke = std::fabs(std::fmod(angle / TwoPi * 5 + 5.5f, 1.0f) - 0.5f) * 2;
            const float limit = c * (0.45f + 0.55f * spoke);
            const float d = std::hypot(dx, dy);
            if (d <= limit)
                s.set(x, y, d > limit - 1.5f ? edge : fill);
        }
}

constexpr std::array<std::array<quint8, 7>, GlyphCount> GlyphRows = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
}};

const RampColours Steel = ramp(30, 32, 36, 230, 232, 238);
const RampColours Wood = ramp(45, 25, 10, 215, 160, 100);
const RampColours Fire = ramp(90, 0, 0, 255, 250, 200);
const RampColours Smoke = ramp(20, 20, 20, 185, 185, 185);

} // namespace

QSize carSpriteSize(CarBody body) {
    switch (body) {
    case CarBody::Bus:
        return {44, 104};
    case CarBody::Sports:
        return {30, 52};
    case CarBody::Pickup:
        return {34, 64};
    case CarBody::Bubble:
        return {26, 36};
    case CarBody::Van:
        return {36, 68};
    case CarBody::Truck:
        return {44, 96};
    default:
        return {32, 60};
    }
}

CarGeometry carGeometry(CarBody body, QSize size) {
    CarGeometry g{};
    g.left = SideMargin;
    g.right = size.width() - SideMargin;
    g.top = 1;
    g.bottom = size.height() - 1;
    const CarLayout l = layoutOf(body);
    g.frontWheel = rowAt(g, l.frontWheel);
    g.rearWheel = rowAt(g, l.rearWheel);
    g.windscreenTop = rowAt(g, l.windscreenTop);
    g.windscreenBottom = rowAt(g, l.windscreenBottom);
    g.roofEnd = rowAt(g, l.roofEnd);
    g.doorTop = rowAt(g, l.doorTop);
    g.doorBottom = rowAt(g, l.doorBottom);
    return g;
}

void drawCar(Canvas &sprite, CarBody body) {
    const CarGeometry g = carGeometry(body, QSize(sprite.width(), sprite.height()));
    const int roofEnd = g.roofEnd, rearEnd = rowAt(g, layoutOf(body).rearWindowEnd);
    drawWheels(sprite, g);
    drawBodyShell(sprite, body, g);
    drawGlass(sprite, g, g.windscreenTop, g.windscreenBottom, 4, 2);
    drawRoof(sprite, g, g.windscreenBottom, roofEnd);
    if (rearEnd > roofEnd && body != CarBody::Truck)
        drawGlass(sprite, g, roofEnd, rearEnd, 2, 3);
    drawBodyDetails(sprite, body, g);
    fillLamps(sprite, headlights(g), shade(RampC, 0.8f));
    fillLamps(sprite, tailLights(g), accent(AccDarkRed));
}

std::vector<CarChange> carChanges(CarBody body) {
    std::vector<CarChange> changes = {CarChange::DentFrontLeft, CarChange::DentFrontRight,
                                      CarChange::DentRearLeft, CarChange::DentRearRight,
                                      CarChange::CrackedWindscreen};
    if (body != CarBody::Bubble) {
        changes.push_back(CarChange::LeftDoorOpen);
        changes.push_back(CarChange::RightDoorOpen);
    }
    changes.push_back(CarChange::Headlights);
    changes.push_back(CarChange::BrakeLights);
    if (body == CarBody::Police || body == CarBody::Taxi)
        changes.push_back(CarChange::RoofLightLeft);
    if (body == CarBody::Police)
        changes.push_back(CarChange::RoofLightRight);
    return changes;
}

void drawCarChange(Canvas &sprite, CarBody body, CarChange change) {
    const CarGeometry g = carGeometry(body, QSize(sprite.width(), sprite.height()));
    const int centre = (g.left + g.right) / 2, middle = roofMiddle(g);
    switch (change) {
    case CarChange::DentFrontLeft:
        return dent(sprite, g.left + 3, g.top + 5, 1);
    case CarChange::DentFrontRight:
        return dent(sprite, g.right - 4, g.top + 5, 2);
    case CarChange::DentRearLeft:
        return dent(sprite, g.left + 3, g.bottom - 6, 3);
    case CarChange::DentRearRight:
        return dent(sprite, g.right - 4, g.bottom - 6, 4);
    case CarChange::CrackedWindscreen:
        return crackWindscreen(sprite, g);
    case CarChange::LeftDoorOpen:
        return openDoor(sprite, g, true);
    case CarChange::RightDoorOpen:
        return openDoor(sprite, g, false);
    case CarChange::Headlights: {
        const Lamps lamps = headlights(g);
        fillLamps(sprite, lamps, accent(AccWhite));
        for (const int x : lamps.xs)
            sprite.set(x, g.top - 1, accent(AccYellow));
        return;
    }
    case CarChange::BrakeLights: {
        const Lamps lamps = tailLights(g);
        fillLamps(sprite, lamps, accent(AccRed));
        for (const int x : lamps.xs)
            sprite.set(x, g.bottom, accent(AccRed));
        return;
    }
    case CarChange::RoofLightLeft:
        if (body == CarBody::Taxi) {
            sprite.fillRect(centre - 4, middle - 2, 8, 4, accent(AccYellow));
            sprite.fillRect(centre - 2, middle - 1, 4, 2, accent(AccWhite));
            return;
        }
        sprite.fillRect(centre - 6, middle - 1, 5, 3, accent(AccRed));
        sprite.fillRect(centre - 6, middle - 2, 5, 1, accent(AccPink));
        sprite.fillRect(centre - 6, middle + 2, 5, 1, accent(AccPink));
        return;
    case CarChange::RoofLightRight:
        sprite.fillRect(centre + 1, middle - 1, 5, 3, accent(AccBlue));
        sprite.fillRect(centre + 1, middle - 2, 5, 1, accent(AccCyan));
        sprite.fillRect(centre + 1, middle + 2, 5, 1, accent(AccCyan));
        return;
    }
}

void drawPed(Canvas &sprite, int frame) {
    if (frame == PedFrameCount - 1)
        drawDeadPed(sprite);
    else
        drawStandingPed(sprite, frame);
}

QSize objectSize(ObjectShape shape) {
    switch (shape) {
    case ObjectShape::Bullet:
        return {4, 8};
    case ObjectShape::Rocket:
        return {8, 20};
    case ObjectShape::ExplosionSmall:
    case ObjectShape::ExplosionLarge:
    case ObjectShape::ExplosionSmoke:
        return {32, 32};
    case ObjectShape::Arrow:
        return {16, 16};
    case ObjectShape::Cone:
        return {12, 12};
    case ObjectShape::Bin:
        return {16, 16};
    case ObjectShape::Tree:
        return {48, 48};
    case ObjectShape::Bench:
        return {32, 12};
    case ObjectShape::Crate:
        return {24, 24};
    case ObjectShape::Barrel:
        return {18, 18};
    case ObjectShape::Lamp:
        return {10, 10};
    case ObjectShape::PhoneBox:
        return {20, 24};
    case ObjectShape::Marker:
    case ObjectShape::Star:
        return {24, 24};
    case ObjectShape::Flag:
        return {20, 24};
    case ObjectShape::Exclamation:
        return {12, 24};
    }
    return {8, 8};
}

void drawObject(Canvas &s, ObjectShape shape) {
    const int w = s.width(), h = s.height();
    const float cx = static_cast<float>(w) / 2, cy = static_cast<float>(h) / 2;
    switch (shape) {
    case ObjectShape::Bullet:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s.set(x, y, y < 2 ? shade(RampC, 0.7f) : shade(RampA, 0.4f + 0.15f * static_cast<float>(x)));
        return;
    case ObjectShape::Rocket:
        for (int y = 0; y < 4; ++y)
            s.fillRect(3 - y / 2, y, 2 + y, 1, shade(RampA, 0.6f));
        for (int y = 4; y < 16; ++y)
            for (int x = 2; x < 6; ++x)
                s.set(x, y, shade(RampC, 0.4f + 0.15f * static_cast<float>(x - 2)));
        s.fillRect(0, 13, 8, 3, shade(RampA, 0.45f));
        s.fillRect(2, 16, 4, 2, accent(AccYellow));
        s.fillRect(3, 18, 2, 2, accent(AccOrange));
        return;
    case ObjectShape::ExplosionSmall:
        return drawExplosion(s, 9, false);
    case ObjectShape::ExplosionLarge:
        return drawExplosion(s, 15, false);
    case ObjectShape::ExplosionSmoke:
        return drawExplosion(s, 15, true);
    case ObjectShape::Arrow:
        for (int y = 0; y < 8; ++y)
            s.fillRect(7 - y, y, 2 + 2 * y, 1, shade(RampA, 0.9f - 0.05f * static_cast<float>(y)));
        s.fillRect(5, 8, 6, 8, shade(RampA, 0.5f));
        return;
    case ObjectShape::Cone:
        disc(s, cx, cy, 5.8f, [](float d, int, int) {
            if (d < 0.2f)
                return shade(RampA, 0.2f);
            return d > 0.45f && d < 0.65f ? shade(RampC, 0.95f) : shade(RampA, 0.85f - 0.4f * d);
        });
        return;
    case ObjectShape::Bin:
        disc(s, cx, cy, 7.8f,
             [](float d, int, int) { return shade(d > 0.85f ? RampC : RampA, 0.75f - 0.4f * d); });
        s.fillRect(5, 7, 6, 2, shade(RampC, 0.9f));
        return;
    case ObjectShape::Tree: {
        const NoiseField leaves(4, 91);
        for (const auto &[bx, by, r] : std::array<std::array<float, 3>, 5>{
                 {{24, 24, 17}, {15, 16, 11}, {33, 15, 11}, {14, 32, 11}, {33, 33, 12}}})
            disc(s, bx, by, r, [&](float d, int x, int y) {
                return shade(RampA, 0.75f - 0.45f * d + 0.35f * (leaves(x, y) - 0.5f));
            });
        disc(s, 24, 24, 2.5f, [](float, int, int) { return shade(RampB, 0.4f); });
        return;
    }
    case ObjectShape::Bench:
        s.fillRect(1, 0, 3, h, shade(RampC, 0.25f));
        s.fillRect(w - 4, 0, 3, h, shade(RampC, 0.25f));
        for (int plank = 0; plank < 3; ++plank)
            for (int y = plank * 4; y < plank * 4 + 3; ++y)
                s.fillRect(0, y, w, 1, shade(RampB, y % 4 == 0 ? 0.8f : 0.55f));
        return;
    case ObjectShape::Crate:
        s.fillRect(0, 0, w, h, shade(RampB, 0.3f));
        s.fillRect(2, 2, w - 4, h - 4, shade(RampB, 0.6f));
        for (int k = 2; k < w - 2; ++k) {
            s.set(k, k, shade(RampB, 0.85f));
            s.set(w - 1 - k, k, shade(RampB, 0.85f));
        }
        return;
    case ObjectShape::Barrel:
        disc(s, cx, cy, 8.8f, [](float d, int, int) {
            if (d > 0.88f || (d > 0.55f && d < 0.65f))
                return shade(RampC, 0.7f);
            return shade(RampA, 0.7f - 0.35f * d);
        });
        s.fillRect(11, 6, 2, 2, shade(RampC, 0.2f)); // bung
        return;
    case ObjectShape::Lamp:
        disc(s, cx, cy, 4.8f,
             [](float d, int, int) { return d < 0.45f ? accent(AccYellow) : shade(RampC, 0.8f - 0.4f * d); });
        return;
    case ObjectShape::PhoneBox:
        s.fillRect(0, 0, w, h, shade(RampA, 0.35f));
        s.fillRect(1, 1, w - 2, h - 2, shade(RampA, 0.65f));
        s.fillRect(4, 4, w - 8, h - 8, shade(RampB, 0.55f));
        s.fillRect(4, 4, w - 8, 2, shade(RampC, 0.95f));
        return;
    case ObjectShape::Marker:
        for (int y = 0; y < 14; ++y)
            s.fillRect(y, y + 4, w - 2 * y, 1,
                       y == 0 || y == 13 ? shade(RampC, 0.1f)
                                         : shade(RampA, 0.95f - 0.04f * static_cast<float>(y)));
        return;
    case ObjectShape::Flag:
        s.fillRect(1, 0, 2, h, shade(RampC, 0.6f));
        for (int x = 3; x < w; ++x) {
            const int wave = static_cast<int>(std::lround(1.5f * std::sin(static_cast<float>(x) * 0.6f)));
            for (int y = 2; y < 14; ++y)
                s.set(x, y + wave, (y - 2) / 3 % 2 == 0 ? shade(RampA, 0.7f) : shade(RampB, 0.9f));
        }
        return;
    case ObjectShape::Star:
        return drawStar(s, shade(RampA, 0.8f), shade(RampA, 0.3f));
    case ObjectShape::Exclamation:
        s.fillRect(3, 1, 6, 16, accent(AccWhite));
        s.fillRect(4, 2, 4, 14, accent(AccRed));
        s.fillRect(3, 18, 6, 5, accent(AccWhite));
        s.fillRect(4, 19, 4, 3, accent(AccRed));
        return;
    }
}

PaletteRecipe objectRecipe(ObjectShape shape) {
    switch (shape) {
    case ObjectShape::Bullet:
        return {ramp(60, 40, 5, 255, 225, 130), Steel, Steel};
    case ObjectShape::Rocket:
        return {ramp(70, 5, 5, 255, 95, 75), Steel, Steel};
    case ObjectShape::ExplosionSmall:
    case ObjectShape::ExplosionLarge:
    case ObjectShape::ExplosionSmoke:
        return {Fire, ramp(40, 10, 0, 255, 160, 40), Smoke};
    case ObjectShape::Arrow:
        return {ramp(5, 40, 10, 120, 255, 120), Steel, Steel};
    case ObjectShape::Cone:
        return {ramp(80, 30, 0, 255, 165, 45), Steel, Steel};
    case ObjectShape::Bin:
        return {ramp(10, 40, 20, 95, 175, 115), Steel, Steel};
    case ObjectShape::Tree:
        return {ramp(5, 35, 5, 125, 205, 75), ramp(40, 25, 10, 150, 100, 60), Steel};
    case ObjectShape::Bench:
    case ObjectShape::Crate:
        return {Wood, Wood, Steel};
    case ObjectShape::Barrel:
        return {ramp(10, 20, 70, 95, 145, 235), Steel, Steel};
    case ObjectShape::Lamp:
        return {ramp(60, 50, 0, 255, 240, 140), Steel, Steel};
    case ObjectShape::PhoneBox:
        return {ramp(70, 5, 5, 240, 60, 50), ramp(10, 25, 50, 165, 215, 245), Steel};
    case ObjectShape::Marker:
        return {ramp(90, 70, 0, 255, 235, 80), Steel, Smoke};
    case ObjectShape::Flag:
        return {ramp(70, 5, 5, 240, 60, 50), ramp(90, 90, 90, 255, 255, 255), Steel};
    case ObjectShape::Star:
        return {ramp(90, 60, 0, 255, 230, 90), Steel, Steel};
    case ObjectShape::Exclamation:
        return {Steel, Steel, Steel};
    }
    return {Steel, Steel, Steel};
}

void drawGlyph(Canvas &sprite, int glyph) {
    const auto &rows = GlyphRows[static_cast<std::size_t>(glyph % GlyphCount)];
    // Shadow first, one pixel down and right, then the face with a top-to-bottom gradient.
    for (const int offset : {1, 0})
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 5; ++c) {
                if ((rows[static_cast<std::size_t>(r)] & (0x10 >> c)) == 0)
                    continue;
                const uchar v =
                    offset != 0 ? accent(AccDarkGrey) : shade(RampC, 0.95f - 0.08f * static_cast<float>(r));
                sprite.fillRect(1 + 2 * c + offset, 1 + 2 * r + offset, 2, 2, v);
            }
}
