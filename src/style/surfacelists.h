#pragma once

#include "style/styledocument.h"

#include <array>

// The surface-number list holds nine lists of tile numbers, each ended by a word 0.

// The names of the nine lists, in list order, as the tile grid labels them.
inline const std::array<QString, SurfaceListCount> SurfaceLabels = {
    QStringLiteral("grass"),       QStringLiteral("road special"),      QStringLiteral("water"),
    QStringLiteral("electrified"), QStringLiteral("electric platform"), QStringLiteral("wood floor"),
    QStringLiteral("metal floor"), QStringLiteral("metal wall"),        QStringLiteral("grass dirt wall")};

// Fills the nine columns from the list: a "0" word ends the current column; words after the
// ninth 0 are dropped.
std::array<QStringList, SurfaceListCount>
splitSurfaceLists(const BoundedTable<quint16, SurfaceListsCapacity> &words);

// The words of the nine columns, each column followed by a 0. Throws EditorError for a line that
// is not a number, a line that would store tile 0 (it would end its list early and shift the
// lists after it), and a result longer than the surface table.
BoundedTable<quint16, SurfaceListsCapacity>
rebuildSurfaceLists(const std::array<QStringList, SurfaceListCount> &columns);
