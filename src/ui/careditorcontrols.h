#pragma once

#include "platform/editorerror.h"
#include "style/textnumbers.h"

#include <QFrame>
#include <QSignalBlocker>
#include <QTableWidget>

// What the car editor's pages share: sizes, the door grid's columns and small control helpers.

inline constexpr int CarFrameSide = 130;
inline constexpr int MarkerSide = 10;
enum DoorColumn { ColumnX, ColumnY, ColumnWalkIn };

inline bool isIntegerText(const QString &text) {
    try {
        textToInteger(text);
        return true;
    } catch (const EditorError &) {
        return false;
    }
}

// A small coloured frame the user drags to place an offset or a door.
inline QFrame *markerFrame(QWidget *parent, const QString &name, const QString &colour) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour));
    frame->setCursor(Qt::SizeAllCursor);
    return frame;
}

// Sets the text of a cell without running the cell's edit handling.
inline void setGridCell(QTableWidget *grid, int row, int column, const QString &text) {
    const QSignalBlocker quiet(grid);
    if (QTableWidgetItem *item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

inline QString gridCell(const QTableWidget *grid, int row, int column) {
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}
