#include "ui/palettetablepicture.h"

#include "palette/palettelookup.h"

const QImage &PaletteTablePicture::picture(const StyleDocument &doc) {
    if (count_ != doc.PhysicalPaletteCount || drawnFrom_.constData() != doc.PhysicalPalettes.constData()) {
        picture_ = makeClut1(doc);
        drawnFrom_ = doc.PhysicalPalettes;
        count_ = doc.PhysicalPaletteCount;
    }
    return picture_;
}
