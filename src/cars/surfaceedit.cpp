#include "cars/surfaceedit.h"

#include "platform/prompts.h"

TileSurfaces surfacesOfTile(const StyleDocument &doc, int tile) {
    const QString line = QString::number(tile);
    TileSurfaces holds{};
    for (std::size_t k = 0; k < holds.size(); ++k)
        holds[k] = doc.SurfaceColumns[k].contains(line);
    return holds;
}

bool tileSurfacesEditable(int tile, Prompts &prompts) {
    if (tile != 0)
        return true;
    prompts.message(QStringLiteral("tile 0 cannot be given a surface: a 0 ends a surface list in the "
                                   "style file, so the lists after it would move."));
    return false;
}

bool setTileSurfaces(StyleDocument &doc, int tile, const TileSurfaces &checked, Prompts &prompts) {
    if (!tileSurfacesEditable(tile, prompts))
        return false;
    const QString line = QString::number(tile);
    bool changed = false;
    for (std::size_t k = 0; k < checked.size(); ++k) {
        QStringList &column = doc.SurfaceColumns[k];
        const qsizetype at = column.indexOf(line);
        if (!checked[k] && at >= 0) {
            column.removeAt(at);
            changed = true;
        } else if (checked[k] && at < 0) {
            column.append(line);
            changed = true;
        }
    }
    return changed;
}
