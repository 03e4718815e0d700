#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QImage>

// The palette table picture of a document, drawn again only when its palettes changed.
class PaletteTablePicture {
public:
    const QImage &picture(const StyleDocument &doc);

private:
    // The store the picture was drawn from. Holding it keeps that buffer as it is: a change of the
    // document's palettes detaches them into a new buffer, so the same buffer means the same colours.
    QByteArray drawnFrom_;
    int count_ = -1;
    QImage picture_;
};
