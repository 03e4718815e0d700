#pragma once

#include "style/styledocument.h"

#include <QStyledItemDelegate>

// Draws the rows of the palette list: "row - physical palette (kind)" in the kind's colour, on a
// soft raised edge (sunken while selected), 18 pixels high.
class PalindexDelegate : public QStyledItemDelegate {
public:
    PalindexDelegate(const StyleDocument *doc, QObject *parent) : QStyledItemDelegate(parent), doc_(doc) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const StyleDocument *doc_;
};
