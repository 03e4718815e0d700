#include "ui/palindexdelegate.h"

#include "palette/paletteediting.h"

#include <QPainter>
#include <qdrawutil.h>

namespace {
constexpr int RowHeight = 18;
constexpr int Inset = 3;
} // namespace

void PalindexDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const {
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, selected ? option.palette.highlight() : option.palette.base());
    qDrawShadePanel(painter, option.rect, option.palette, selected, 1);
    const std::optional<int> kind = paletteKindOf(*doc_, index.row());
    if (!kind)
        return;
    const QRect text = option.rect.adjusted(Inset * 2, Inset, -Inset, -Inset);
    painter->setPen(QColor(paletteKindColour(*kind)));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      palindexRowText(*doc_, index.row()));
}

QSize PalindexDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const {
    return QSize(option.rect.width(), RowHeight);
}
