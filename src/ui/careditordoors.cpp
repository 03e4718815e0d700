// The Doors page: the door grid and the marker dragged over the car.

#include "ui/careditordialog.h"

#include "ui/careditorcontrols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

QWidget *Twnd_caredit::makeDoorsPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    doorArea_ = new QWidget(page);
    doorArea_->setMinimumSize(CarFrameSide, CarFrameSide);
    doorArea_->installEventFilter(this);
    cardoorprev_ = new QLabel(doorArea_);
    cardoorprev_->setObjectName(QStringLiteral("cardoorprev"));
    doorpanel_ = markerFrame(doorArea_, QStringLiteral("doorpanel"), QStringLiteral("yellow"));
    doorpanel_->setFixedSize(MarkerSide, MarkerSide);
    doorpanel_->installEventFilter(this);
    layout->addWidget(doorArea_, 1);

    auto *buttons = new QHBoxLayout;
    const auto addButton = [&](const QString &caption, const QString &name, void (Twnd_caredit::*slot)()) {
        auto *button = new QPushButton(caption, page);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    addButton(QStringLiteral("add door"), QStringLiteral("btn_adddoor"), &Twnd_caredit::btn_adddoorClick);
    addButton(QStringLiteral("remove door"), QStringLiteral("btn_removedoor"),
              &Twnd_caredit::btn_removedoorClick);
    addButton(QStringLiteral("mirror previous"), QStringLiteral("btn_mirrorprevious"),
              &Twnd_caredit::btn_mirrorpreviousClick);
    buttons->addStretch();
    layout->addLayout(buttons);

    doorGrid_ = new QTableWidget(0, 3, page);
    doorGrid_->setObjectName(QStringLiteral("doorgrid"));
    doorGrid_->setHorizontalHeaderLabels(
        {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("walk-in")});
    connect(doorGrid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() != ColumnWalkIn && !isIntegerText(item->text()))
            setGridCell(doorGrid_, item->row(), item->column(), QStringLiteral("0"));
        placeDoorMarker();
    });
    connect(doorGrid_, &QTableWidget::currentCellChanged, this, &Twnd_caredit::doorgridSelectCell);
    layout->addWidget(doorGrid_, 1);
    return page;
}

DoorRows Twnd_caredit::doorGridRows() const {
    DoorRows rows;
    for (int r = 0; r < doorGrid_->rowCount(); ++r)
        rows.append({gridCell(doorGrid_, r, ColumnX), gridCell(doorGrid_, r, ColumnY),
                     gridCell(doorGrid_, r, ColumnWalkIn)});
    return rows;
}

void Twnd_caredit::setDoorGridRows(const DoorRows &rows) {
    {
        const QSignalBlocker quiet(doorGrid_);
        doorGrid_->setRowCount(static_cast<int>(rows.size()));
    }
    for (int r = 0; r < rows.size(); ++r) {
        setGridCell(doorGrid_, r, ColumnX, rows[r].x);
        setGridCell(doorGrid_, r, ColumnY, rows[r].y);
        setGridCell(doorGrid_, r, ColumnWalkIn, rows[r].walkIn);
    }
    // No rows means no doors.
    doorGrid_->setVisible(!rows.isEmpty());
}

void Twnd_caredit::btn_adddoorClick() {
    DoorRows rows = doorGridRows();
    if (!addDoor(rows))
        return;
    const int row = doorGrid_->currentRow();
    setDoorGridRows(rows);
    doorGrid_->setCurrentCell(row < 0 ? 0 : row, 0);
    placeDoorMarker();
}

void Twnd_caredit::btn_removedoorClick() {
    DoorRows rows = doorGridRows();
    const int row = rows.size() == 1 ? 0 : doorGrid_->currentRow();
    removeDoor(rows, row);
    setDoorGridRows(rows);
    doorGrid_->setCurrentCell(std::min(row, static_cast<int>(rows.size()) - 1), 0);
    placeDoorMarker();
}

void Twnd_caredit::btn_mirrorpreviousClick() {
    DoorRows rows = doorGridRows();
    const int row = doorGrid_->currentRow();
    mirrorPrevious(rows, row);
    setDoorGridRows(rows);
    doorGrid_->setCurrentCell(row, 0);
    placeDoorMarker();
}

void Twnd_caredit::doorgridSelectCell() {
    placeDoorMarker();
}

void Twnd_caredit::centreDoorPreview() {
    cardoorprev_->move(doorArea_->width() / 2 - cardoorprev_->width() / 2,
                       doorArea_->height() / 2 - cardoorprev_->height() / 2);
    placeDoorMarker();
}

void Twnd_caredit::placeDoorMarker() {
    const int row = doorGrid_->currentRow();
    doorpanel_->setVisible(doorGrid_->rowCount() > 0 && row >= 0);
    if (doorGrid_->rowCount() == 0 || row < 0)
        return;
    const QPoint origin = cardoorprev_->pos();
    doorpanel_->move(origin.x() + gridCell(doorGrid_, row, ColumnX).toInt() + cardoorprev_->width() / 2 - 5,
                     origin.y() + gridCell(doorGrid_, row, ColumnY).toInt() + cardoorprev_->height() / 2 - 5);
}
