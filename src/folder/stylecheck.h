#pragma once

#include "style/styledocument.h"

#include <QString>
#include <vector>

// What a style file holds that would trip the game or the editor, found in its loaded tables.

enum class CheckSeverity { Warning, Error };

struct CheckFinding {
    CheckSeverity severity;
    // Names the table entry, e.g. "sprite 12: ...".
    QString text;

    // The line the check prints: "error: " or "warning: " and the text.
    QString line() const;
};

// Sprite entries off their page or past the sprite store; virtual palettes at or past the physical
// palette count; palette counts adding up past the palette index and tiles or sprites without a
// virtual palette; sprite counts that differ from the sprite index; the first car record whose
// sprites lie past the car sprites (the running sum carries every later car past them too, so that
// is one fault); surface lists naming tiles past the tile store; delta entries of sprites
// that do not exist, listed twice, whose bytes run past the delta store or whose runs draw outside
// their sprite; recycled models without a car record. In table order.
std::vector<CheckFinding> checkStyle(const StyleDocument &doc);
