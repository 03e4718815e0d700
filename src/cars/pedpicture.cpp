#include "cars/pedpicture.h"

#include "graphics/indexedcanvas.h"
#include "palette/colourramps.h"
#include "palette/palettelookup.h"
#include "platform/imagememory.h"

#include <cmath>

namespace {

// Fills the ellipse around (cx, cy) with `colour(distance)`, distance 0 at the centre and 1 on
// the edge, for the light falling from above.
template <typename F> void ellipse(Canvas &c, float cx, float cy, float rx, float ry, F &&colour) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - cx) / rx;
            const float dy = (static_cast<float>(y) + 0.5f - cy) / ry;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d <= 1)
                c.set(x, y, colour(d));
        }
}

void drawPedestrian(Canvas &c) {
    // Legs in mid-stride: the left foot ahead, the right one behind, under the body.
    c.fillRect(11, 8, 4, 6, shade(RampA, 0.15f));
    c.fillRect(17, 18, 4, 6, shade(RampA, 0.15f));
    c.fillRect(11, 5, 4, 3, shade(RampC, 0.1f));
    c.fillRect(17, 24, 4, 3, shade(RampC, 0.1f));
    // Arms swing against the legs; the hands show at their ends.
    c.fillRect(6, 15, 3, 6, shade(RampA, 0.4f));
    c.fillRect(23, 11, 3, 6, shade(RampA, 0.4f));
    ellipse(c, 7.5f, 21.5f, 1.8f, 1.8f, [](float) { return shade(RampB, 0.6f); });
    ellipse(c, 24.5f, 10.5f, 1.8f, 1.8f, [](float) { return shade(RampB, 0.6f); });
    ellipse(c, 16, 16, 9, 4.5f, [](float d) { return shade(RampA, 0.75f - 0.4f * d * d); });
    // Head: hair on top, the face towards the walking direction.
    ellipse(c, 16, 15.5f, 4, 4, [](float d) { return shade(RampC, 0.55f - 0.3f * d); });
    ellipse(c, 16, 12.5f, 2.5f, 1.3f, [](float) { return shade(RampB, 0.7f); });
}

// Blue shirt and trousers, light skin, brown hair.
QList<QRgb> startingColours() {
    StyleDocument doc;
    writeRampPalette(doc.PhysicalPalettes, 0,
                     pedRecipe(qRgb(50, 90, 200), qRgb(225, 170, 130), qRgb(110, 70, 30)));
    return ClutToPal(doc, 0);
}

} // namespace

QImage makePedPicture() {
    QImage picture = makeImage(PedPictureSide, PedPictureSide, QImage::Format_Indexed8);
    picture.fill(0);
    Canvas canvas(picture);
    drawPedestrian(canvas);
    picture.setColorTable(startingColours());
    return picture;
}
