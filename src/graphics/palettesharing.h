#pragma once

#include "graphics/graphicfile.h"
#include "style/styledocument.h"

#include <QString>
#include <optional>

// The stored physical palette that shows the graphic; none when its virtual palette points past them.
std::optional<int> graphicPhysicalPalette(const StyleDocument &doc, Graphic graphic);

// The line beside the drawing's palette that names the other graphics showing the same physical
// palette, since a colour changed there changes them too: "palette 36 also shows sprites 10 and
// 11". Long lists are cut after a few numbers with the count of the rest.
QString paletteSharingLine(const StyleDocument &doc, Graphic graphic);
