#include "style/styledocument.h"

#include "platform/imagememory.h"

#include <algorithm>
#include <cstring>

void StyleDocument::derivePaletteBases() {
    PaletteBases[0] = 0;
    for (int k = 1; k < PaletteKindCount; ++k)
        PaletteBases[k] = static_cast<quint16>(PaletteBases[k - 1] + PaletteCounts[k - 1]);
}

void StyleDocument::deriveSpriteSums() {
    quint32 sum = 0;
    for (CarInfoRecord &car : CarInfoTable) {
        sum += car.sprite;
        car.sprite_sum = sum;
    }
}

QRect spriteRect(const SpriteEntry &entry) {
    return QRect(PageSide * entry.page() + entry.x(), entry.y(), entry.w, entry.h);
}

QList<QRgb> greyRamp() {
    QList<QRgb> ramp(256);
    for (int i = 0; i < 256; ++i)
        ramp[i] = qRgb(i, i, i);
    return ramp;
}

QImage makePixelStore(int rows, QByteArrayView first) {
    if (rows <= 0)
        return QImage();
    QImage store = makeImage(PageSide, rows, QImage::Format_Indexed8);
    store.setColorTable(greyRamp());
    // Rows of 256 bytes need no padding, so the store is one run of bytes.
    const qsizetype copied = std::min(first.size(), store.sizeInBytes());
    if (copied > 0)
        std::memcpy(store.bits(), first.data(), std::size_t(copied));
    std::memset(store.bits() + copied, 0, std::size_t(store.sizeInBytes() - copied));
    return store;
}
