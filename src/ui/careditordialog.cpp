#include "ui/careditordialog.h"

#include "ui/collisionsizedialog.h"
#include "ui/twnd_submodels.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/prompts.h"
#include "style/textnumbers.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr int CarFrameSide = 130;
constexpr int MarkerSide = 10;
constexpr int PhysicsPageIndex = 4;
enum DoorColumn { ColumnX, ColumnY, ColumnWalkIn };

bool isInteger(const QString &text) {
    try {
        textToInteger(text);
        return true;
    } catch (const EditorError &) {
        return false;
    }
}

QFrame *marker(QWidget *parent, const QString &name, const QString &colour) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour));
    frame->setCursor(Qt::SizeAllCursor);
    return frame;
}

QListWidget *textList(QWidget *parent, const QString &name, const auto &texts) {
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    for (const char *text : texts)
        list->addItem(QString::fromLatin1(text));
    return list;
}

// Sets the text of a cell without running the cell's edit handling.
void setCell(QTableWidget *grid, int row, int column, const QString &text) {
    const QSignalBlocker quiet(grid);
    if (QTableWidgetItem *item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

QString cell(const QTableWidget *grid, int row, int column) {
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

Twnd_caredit::Twnd_caredit(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_caredit"));
    setWindowTitle(QStringLiteral("Car editor"));
    submodels_ = new Twnd_submodels(this);
    colsize_ = new Twnd_colsize(this);

    auto *layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(makeInfoPage(), QStringLiteral("Info"));
    pages_->addTab(makeDoorsPage(), QStringLiteral("Doors"));
    pages_->addTab(makeFlagsPage(), QStringLiteral("Flags"));
    pages_->addTab(makeRemapsPage(), QStringLiteral("Remaps"));
    pages_->addTab(makePhysicsPage(), QStringLiteral("Psyhics"));
    layout->addWidget(pages_);

    auto *buttons = new QHBoxLayout;
    const auto addButton = [&](const QString &caption, const QString &name, void (Twnd_caredit::*slot)()) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("Ok"), QStringLiteral("btn_ok"), &Twnd_caredit::btn_okClick)->setDefault(true);
    addButton(QStringLiteral("Cancel"), QStringLiteral("btn_cancel"), &Twnd_caredit::reject);
    addButton(QStringLiteral("Reset"), QStringLiteral("btn_reset"), &Twnd_caredit::btn_resetClick);
    scriptName_ = new QLabel(this);
    scriptName_->setObjectName(QStringLiteral("scriptname"));
    buttons->addWidget(scriptName_, 1);
    layout->addLayout(buttons);
}

QWidget *Twnd_caredit::makeInfoPage() {
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);

    carFrame_ = new QWidget(page);
    carFrame_->setFixedSize(CarFrameSide, CarFrameSide);
    carPanel_ = new QFrame(carFrame_);
    carPanel_->setObjectName(QStringLiteral("carpanel"));
    carPanel_->setStyleSheet(QStringLiteral("QFrame#carpanel { background-color: black; }"));
    carPanel_->setCursor(Qt::SizeFDiagCursor);
    carprev_ = new QLabel(carPanel_);
    carprev_->setObjectName(QStringLiteral("carprev"));
    carprev_->setScaledContents(true);
    carprev_->setCursor(Qt::ArrowCursor);
    panel_offsets_ = marker(carprev_, QStringLiteral("panel_offsets"), QStringLiteral("red"));
    for (QWidget *watched : {static_cast<QWidget *>(carPanel_), static_cast<QWidget *>(carprev_),
                             static_cast<QWidget *>(panel_offsets_)})
        watched->installEventFilter(this);
    layout->addWidget(carFrame_, 0, 0);

    offsetList_ = textList(page, QStringLiteral("offsetlist"), OffsetTexts);
    connect(offsetList_, &QListWidget::currentRowChanged, this, &Twnd_caredit::offsetlistClick);
    layout->addWidget(offsetList_, 0, 1);

    infoGrid_ = new QTableWidget(2, 2, page);
    infoGrid_->setObjectName(QStringLiteral("infogrid"));
    infoGrid_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    infoGrid_->verticalHeader()->hide();
    for (int row = 0; row < 2; ++row) {
        auto *name = new QTableWidgetItem(row == 0 ? QStringLiteral("model") : QStringLiteral("Passengers"));
        name->setFlags(Qt::ItemIsEnabled);
        infoGrid_->setItem(row, 0, name);
        infoGrid_->setItem(row, 1, new QTableWidgetItem(QStringLiteral("0")));
    }
    connect(infoGrid_, &QTableWidget::itemChanged, this, [](QTableWidgetItem *item) {
        if (!isInteger(item->text()))
            item->setText(QStringLiteral("0"));
    });
    layout->addWidget(infoGrid_, 0, 2);

    ratingList_ = textList(page, QStringLiteral("ratinglist"), RatingTexts);
    wreckList_ = textList(page, QStringLiteral("wrecklist"), WreckTexts);
    for (QListWidget *list : {ratingList_, wreckList_})
        connect(list, &QListWidget::itemClicked, this, &Twnd_caredit::listClick);
    auto *rating = new QVBoxLayout;
    rating->addWidget(ratingList_);
    rating->addWidget(new QLabel(RatingHelp, page));
    layout->addLayout(rating, 1, 0, 1, 2);
    layout->addWidget(wreckList_, 1, 2);

    check_recycled_ = new QCheckBox(QStringLiteral("should this car spawn as dummy traffic on roads?"), page);
    check_recycled_->setObjectName(QStringLiteral("check_recycled"));
    layout->addWidget(check_recycled_, 2, 0, 1, 3);
    return page;
}

QWidget *Twnd_caredit::makeDoorsPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    doorArea_ = new QWidget(page);
    doorArea_->setMinimumSize(CarFrameSide, CarFrameSide);
    doorArea_->installEventFilter(this);
    cardoorprev_ = new QLabel(doorArea_);
    cardoorprev_->setObjectName(QStringLiteral("cardoorprev"));
    doorpanel_ = marker(doorArea_, QStringLiteral("doorpanel"), QStringLiteral("yellow"));
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
        if (item->column() != ColumnWalkIn && !isInteger(item->text()))
            setCell(doorGrid_, item->row(), item->column(), QStringLiteral("0"));
        placeDoorMarker();
    });
    connect(doorGrid_, &QTableWidget::currentCellChanged, this, &Twnd_caredit::doorgridSelectCell);
    layout->addWidget(doorGrid_, 1);
    return page;
}

QWidget *Twnd_caredit::makeFlagsPage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    flagList_ = new QListWidget(page);
    flagList_->setObjectName(QStringLiteral("flaglist"));
    for (const QString &text : FlagTexts) {
        auto *entry = new QListWidgetItem(text, flagList_);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    connect(flagList_, &QListWidget::itemChanged, this, &Twnd_caredit::flaglistClickCheck);
    layout->addWidget(flagList_);
    return page;
}

QWidget *Twnd_caredit::makeRemapsPage() {
    auto *page = new QWidget;
    auto *layout = new QGridLayout(page);
    remaps_ = new QPlainTextEdit(page);
    remaps_->setObjectName(QStringLiteral("remaps"));
    remaps_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    remaps_->installEventFilter(this);
    layout->addWidget(remaps_, 0, 0, 4, 1);
    remapprev_ = new QLabel(page);
    remapprev_->setObjectName(QStringLiteral("remapprev"));
    layout->addWidget(remapprev_, 0, 1);
    auto *view = new QPushButton(QStringLiteral("view"), page);
    view->setObjectName(QStringLiteral("btn_view"));
    connect(view, &QPushButton::clicked, this, &Twnd_caredit::btn_viewClick);
    layout->addWidget(view, 1, 1);
    int row = 2;
    for (const QString &caption : {QStringLiteral("choose..."), QStringLiteral("create")}) {
        auto *button = new QPushButton(caption, page);
        button->setEnabled(false);
        layout->addWidget(button, row++, 1);
    }
    return page;
}

QWidget *Twnd_caredit::makePhysicsPage() {
    physicsPage_ = new QWidget;
    auto *layout = new QVBoxLayout(physicsPage_);
    auto *area = new QScrollArea(physicsPage_);
    area->setObjectName(QStringLiteral("physicsarea"));
    area->setWidgetResizable(true);
    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    const auto watchHover = [this](QWidget *control, const QString &help) {
        control->setToolTip(help);
        control->setProperty("help", help);
        control->installEventFilter(this);
    };
    watchHover(fields, PhysicsAreaHelp);
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const PhysicsField &field = PhysicsFields[static_cast<std::size_t>(k)];
        grid->addWidget(new QLabel(QStringLiteral(" %1 ").arg(QLatin1String(field.caption)), fields), k, 0);
        auto *edit = new QLineEdit(fields);
        edit->setObjectName(QStringLiteral("physicsedit%1").arg(k));
        watchHover(edit, QString::fromLatin1(field.help));
        connect(edit, &QLineEdit::textChanged, this, &Twnd_caredit::physicsEditChange);
        grid->addWidget(edit, k, 1);
        auto *slider = new QSlider(Qt::Horizontal, fields);
        slider->setObjectName(QStringLiteral("physicsslider%1").arg(k));
        slider->setRange(field.minimum, field.maximum);
        watchHover(slider, QString::fromLatin1(field.sliderHelp ? field.sliderHelp : field.help));
        connect(slider, &QSlider::valueChanged, this, &Twnd_caredit::physicsSliderChange);
        grid->addWidget(slider, k, 2);
        physicsEdits_[static_cast<std::size_t>(k)] = edit;
        physicsSliders_[static_cast<std::size_t>(k)] = slider;
    }
    turbo_ = new QCheckBox(QStringLiteral(" turbo "), fields);
    turbo_->setObjectName(QStringLiteral("turbo"));
    watchHover(turbo_, TurboHelp);
    grid->addWidget(turbo_, PhysicsFieldCount, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral(" name "), fields), PhysicsFieldCount + 1, 0);
    name_ = new QLineEdit(fields);
    name_->setObjectName(QStringLiteral("name"));
    watchHover(name_, NameHelp);
    connect(name_, &QLineEdit::textChanged, this, &Twnd_caredit::physicsEditChange);
    grid->addWidget(name_, PhysicsFieldCount + 1, 1, 1, 2);
    area->setWidget(fields);
    layout->addWidget(area, 1);
    tips_ = new QLabel(physicsPage_);
    tips_->setObjectName(QStringLiteral("tips"));
    tips_->setWordWrap(true);
    layout->addWidget(tips_);
    return physicsPage_;
}

bool Twnd_caredit::editCar(StyleDocument &doc, int sprite, Prompts &prompts) {
    if (sprite < 0 || sprite >= doc.SpriteBases[SprCar])
        return false;
    int car = carOfSprite(doc, sprite);
    const QString refusal = noCarRecordMessage(doc, car);
    if (!refusal.isEmpty()) {
        prompts.message(refusal);
        return false;
    }
    if (const int subModels = subModelCount(doc, car); subModels > 0)
        car += submodels_->choose(subModels).value_or(0);

    const CarInfoRecord &record = doc.CarInfoTable[static_cast<std::size_t>(car)];
    initial_ = CarEdit{};
    initial_.car = car;
    initial_.record = record;
    initial_.recycled = isRecycled(doc.RecycleList, record.model);
    initial_.modelLine = physicsBlockLine(doc.CarScript, record.model, prompts);

    glyph_ = spriteGlyph(doc, sprite);
    const QPixmap picture = QPixmap::fromImage(glyph_);
    carprev_->setPixmap(picture);
    cardoorprev_->setPixmap(picture);
    cardoorprev_->resize(glyph_.size());
    centreDoorPreview();
    remapprev_->setPixmap(picture);

    doc_ = &doc;
    prompts_ = &prompts;
    sprite_ = sprite;
    btn_resetClick();
    const bool stored = exec() == QDialog::Accepted;
    doc_ = nullptr;
    prompts_ = nullptr;
    return stored;
}

void Twnd_caredit::btn_resetClick() {
    working_ = initial_;
    const CarInfoRecord &car = working_.record;
    setPanelSize(QSize(car.w, car.h));
    setCell(infoGrid_, 0, 1, QString::number(car.model));
    setCell(infoGrid_, 1, 1, QString::number(car.passengers));
    // A stored value the lists do not show leaves no entry selected, so "Ok" keeps it.
    wreckList_->setCurrentRow(wreckEntry(car.wreck));
    ratingList_->setCurrentRow(ratingEntry(car.rating));
    setDoorGridRows(doorRows(car));
    {
        const QSignalBlocker quiet(flagList_);
        const FlagChecks checks = flagChecks(car);
        for (int k = 0; k < FlagEntryCount; ++k)
            flagList_->item(k)->setCheckState(checks[static_cast<std::size_t>(k)] ? Qt::Checked
                                                                                  : Qt::Unchecked);
    }
    check_recycled_->setChecked(working_.recycled);
    remaps_->setPlainText(remapLines(car).join(QLatin1Char('\n')));
    offsetList_->setCurrentRow(0);
    placeOffsetMarker();
    doorGrid_->setCurrentCell(0, 0);
    placeDoorMarker();
    scriptName_->setText(QStringLiteral("script car name: %1").arg(scriptCarName(car.model)));
    pages_->setCurrentIndex(0);

    pages_->setTabVisible(PhysicsPageIndex, working_.modelLine >= 0);
    if (working_.modelLine < 0 || !doc_)
        return;
    const CarPhysics physics = readPhysics(doc_->CarScript, working_.modelLine);
    shownPhysicsTexts_ = physics.values;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const QSignalBlocker quiet(physicsEdits_[static_cast<std::size_t>(k)]);
        physicsEdits_[static_cast<std::size_t>(k)]->setText(physics.values[static_cast<std::size_t>(k)]);
    }
    turbo_->setChecked(physics.turbo);
    const QSignalBlocker quiet(name_);
    name_->setText(physics.name);
    physicsEditChange();
    // "Ok" rewrites only the lines whose value the user changes from these.
    working_.shownPhysics = physicsSettings();
}

void Twnd_caredit::readControls() {
    CarInfoRecord &car = working_.record;
    working_.recycled = check_recycled_->isChecked();
    car.model = recordByte(QStringLiteral("The model"), cell(infoGrid_, 0, 1));
    car.passengers = recordByte(QStringLiteral("Passengers"), cell(infoGrid_, 1, 1));
    if (wreckList_->currentRow() >= 0)
        car.wreck = wreckValue(wreckList_->currentRow());
    if (ratingList_->currentRow() >= 0)
        car.rating = ratingValue(ratingList_->currentRow());
    car.w = static_cast<quint8>(carPanel_->width());
    car.h = static_cast<quint8>(carPanel_->height());
    storeRemaps(car, remaps_->toPlainText().split(QLatin1Char('\n')));
    storeDoors(car, doorGridRows());
}

PhysicsSettings Twnd_caredit::physicsSettings() const {
    PhysicsSettings settings;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        if (slider->isEnabledTo(physicsPage_))
            settings.positions[static_cast<std::size_t>(k)] = slider->value();
    }
    settings.turbo = turbo_->isChecked();
    settings.name = name_->text();
    return settings;
}

void Twnd_caredit::btn_okClick() {
    try {
        readControls();
        if (working_.modelLine >= 0) {
            // The block's own unreadable lines stay as they are; one the user typed is refused.
            refuseTypedUnreadableValues();
            // Every edit shows its slider's value again, so what is written is what the sliders hold.
            physicsSliderChange();
            working_.physics = physicsSettings();
        }
        commitCarEdit(*doc_, working_);
    } catch (const EditorError &error) {
        prompts_->message(error.text());
        return;
    }
    accept();
}

void Twnd_caredit::btn_viewClick() {
    try {
        const QString line = remaps_->textCursor().block().text();
        QImage recoloured = glyph_;
        changepalette(recoloured, remapColours(*doc_, line, sprite_));
        remapprev_->setPixmap(QPixmap::fromImage(recoloured));
    } catch (const EditorError &error) {
        prompts_->message(error.text());
    }
}

DoorRows Twnd_caredit::doorGridRows() const {
    DoorRows rows;
    for (int r = 0; r < doorGrid_->rowCount(); ++r)
        rows.append(
            {cell(doorGrid_, r, ColumnX), cell(doorGrid_, r, ColumnY), cell(doorGrid_, r, ColumnWalkIn)});
    return rows;
}

void Twnd_caredit::setDoorGridRows(const DoorRows &rows) {
    {
        const QSignalBlocker quiet(doorGrid_);
        doorGrid_->setRowCount(static_cast<int>(rows.size()));
    }
    for (int r = 0; r < rows.size(); ++r) {
        setCell(doorGrid_, r, ColumnX, rows[r].x);
        setCell(doorGrid_, r, ColumnY, rows[r].y);
        setCell(doorGrid_, r, ColumnWalkIn, rows[r].walkIn);
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

void Twnd_caredit::flaglistClickCheck() {
    FlagChecks checks{};
    for (int k = 0; k < FlagEntryCount; ++k)
        checks[static_cast<std::size_t>(k)] = flagList_->item(k)->checkState() == Qt::Checked;
    applyFlagRules(checks);
    const QSignalBlocker quiet(flagList_);
    for (int k = 0; k < FlagEntryCount; ++k)
        flagList_->item(k)->setCheckState(checks[static_cast<std::size_t>(k)] ? Qt::Checked : Qt::Unchecked);
    storeFlags(working_.record, checks);
}

void Twnd_caredit::listClick() {
    check_recycled_->setChecked(true);
    if (ratingList_->currentRow() == DoesntAppearEntry)
        check_recycled_->setChecked(false);
}

void Twnd_caredit::offsetlistClick() {
    placeOffsetMarker();
}

void Twnd_caredit::physicsEditChange() {
    if (sliderGuard_)
        return;
    editGuard_ = true;
    // A value that cannot be read keeps its text, and its slider stays still until it can be.
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        try {
            slider->setValue(editToSlider(k, physicsEdits_[static_cast<std::size_t>(k)]->text()));
            slider->setEnabled(true);
        } catch (const EditorError &) {
            slider->setEnabled(false);
        }
    }
    editGuard_ = false;
}

void Twnd_caredit::physicsSliderChange() {
    if (editGuard_)
        return;
    sliderGuard_ = true;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        if (slider->isEnabledTo(physicsPage_))
            physicsEdits_[static_cast<std::size_t>(k)]->setText(sliderToEdit(k, slider->value()));
    }
    sliderGuard_ = false;
}

void Twnd_caredit::refuseTypedUnreadableValues() const {
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const QString text = physicsEdits_[static_cast<std::size_t>(k)]->text();
        if (!physicsSliders_[static_cast<std::size_t>(k)]->isEnabledTo(physicsPage_) &&
            text != shownPhysicsTexts_[static_cast<std::size_t>(k)])
            throw EditorError(
                QStringLiteral("%1: '%2' is not a valid number")
                    .arg(QLatin1String(PhysicsFields[static_cast<std::size_t>(k)].caption), text));
    }
}

void Twnd_caredit::setPanelSize(QSize size) {
    carPanel_->resize(size);
    carprev_->setGeometry(1, 1, std::max(0, size.width() - 2), std::max(0, size.height() - 2));
    panel_offsets_->resize(size.width(), 3);
    centrePanel();
}

void Twnd_caredit::centrePanel() {
    carPanel_->move(carFrame_->width() / 2 - carPanel_->width() / 2,
                    carFrame_->height() / 2 - carPanel_->height() / 2);
}

void Twnd_caredit::centreDoorPreview() {
    cardoorprev_->move(doorArea_->width() / 2 - cardoorprev_->width() / 2,
                       doorArea_->height() / 2 - cardoorprev_->height() / 2);
    placeDoorMarker();
}

void Twnd_caredit::placeOffsetMarker() {
    const int entry = offsetList_->currentRow();
    if (entry < 0)
        return;
    const int height = carprev_->height();
    int top = height / 2 + carOffset(working_.record, entry) - panel_offsets_->height() / 2;
    if (top < 1)
        top = 1;
    if (top > height)
        top = height - 7;
    panel_offsets_->move(0, top);
}

void Twnd_caredit::placeDoorMarker() {
    const int row = doorGrid_->currentRow();
    doorpanel_->setVisible(doorGrid_->rowCount() > 0 && row >= 0);
    if (doorGrid_->rowCount() == 0 || row < 0)
        return;
    const QPoint origin = cardoorprev_->pos();
    doorpanel_->move(origin.x() + cell(doorGrid_, row, ColumnX).toInt() + cardoorprev_->width() / 2 - 5,
                     origin.y() + cell(doorGrid_, row, ColumnY).toInt() + cardoorprev_->height() / 2 - 5);
}

void Twnd_caredit::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    centrePanel();
    placeDoorMarker();
}

void Twnd_caredit::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    placeDoorMarker();
}

bool Twnd_caredit::eventFilter(QObject *watched, QEvent *event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const auto *mouse =
        press || event->type() == QEvent::MouseMove ? static_cast<QMouseEvent *>(event) : nullptr;
    const bool drag = mouse && !press && (mouse->buttons() & Qt::LeftButton);
    const QPoint moved = press || drag ? mouse->globalPosition().toPoint() - dragStart_ : QPoint();

    if (event->type() == QEvent::Enter && watched->property("help").isValid()) {
        tips_->setText(watched->property("help").toString());
    } else if (watched == remaps_ && event->type() == QEvent::KeyPress) {
        // The list takes digits only. Keys that type no character (Return, Backspace, Delete,
        // the arrows, shortcuts) keep working: X11 gives Delete and Ctrl+letter the control
        // characters as their text, other platforms none.
        const QString text = static_cast<QKeyEvent *>(event)->text();
        const bool types = !text.isEmpty() && (text[0].isPrint() || text[0] == QLatin1Char('\t'));
        const bool digit = text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
        return types && !digit;
    } else if (watched == doorArea_ && event->type() == QEvent::Resize) {
        centreDoorPreview();
    } else if (watched == panel_offsets_ && (press || drag)) {
        if (press) {
            dragStart_ = mouse->globalPosition().toPoint();
            dragOrigin_ = panel_offsets_->pos();
            return true;
        }
        const int top = dragOrigin_.y() + moved.y();
        panel_offsets_->move(0, top);
        if (offsetList_->currentRow() >= 0)
            setCarOffset(working_.record, offsetList_->currentRow(),
                         top - carprev_->height() / 2 + panel_offsets_->height() / 2);
        return true;
    } else if (watched == doorpanel_ && (press || drag) && doorGrid_->currentRow() >= 0) {
        if (press) {
            dragStart_ = mouse->globalPosition().toPoint();
            dragOrigin_ = doorpanel_->pos();
            return true;
        }
        const QPoint at = dragOrigin_ + moved;
        const QPoint origin = cardoorprev_->pos();
        const int row = doorGrid_->currentRow();
        setCell(doorGrid_, row, ColumnX,
                QString::number(at.x() - origin.x() - cardoorprev_->width() / 2 + 5));
        setCell(doorGrid_, row, ColumnY,
                QString::number(at.y() - origin.y() - cardoorprev_->height() / 2 + 5));
        placeDoorMarker();
        return true;
    } else if ((watched == carPanel_ || watched == carprev_) &&
               event->type() == QEvent::MouseButtonDblClick) {
        if (const std::optional<QSize> size = colsize_->ask(carPanel_->size(), *prompts_))
            setPanelSize(*size);
        return true;
    } else if ((watched == carPanel_ || watched == carprev_) && (press || drag)) {
        const QPoint inPanel = static_cast<QWidget *>(watched)->mapTo(carPanel_, mouse->position().toPoint());
        if (press) {
            // The border takes the drag: within a few pixels of the right or bottom edge.
            resizingPanel_ = inPanel.x() >= carPanel_->width() - 4 || inPanel.y() >= carPanel_->height() - 4;
            return resizingPanel_;
        }
        if (!resizingPanel_)
            return false;
        carPanel_->resize(std::clamp(inPanel.x() + 1, 1, 255), std::clamp(inPanel.y() + 1, 1, 255));
        setPanelSize(carPanel_->size());
        placeOffsetMarker();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
