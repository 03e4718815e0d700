// The car editor's frame: its pages and buttons, loading a car into the controls, "Ok" storing them,
// and the mouse and keys its pages take.

#include "ui/careditordialog.h"

#include "ui/careditorcontrols.h"
#include "ui/collisionsizedialog.h"
#include "ui/twnd_submodels.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/prompts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int PhysicsPageIndex = 4;

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
    setGridCell(infoGrid_, 0, 1, QString::number(car.model));
    setGridCell(infoGrid_, 1, 1, QString::number(car.passengers));
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
    car.model = recordByte(QStringLiteral("The model"), gridCell(infoGrid_, 0, 1));
    car.passengers = recordByte(QStringLiteral("Passengers"), gridCell(infoGrid_, 1, 1));
    if (wreckList_->currentRow() >= 0)
        car.wreck = wreckValue(wreckList_->currentRow());
    if (ratingList_->currentRow() >= 0)
        car.rating = ratingValue(ratingList_->currentRow());
    car.w = static_cast<quint8>(carPanel_->width());
    car.h = static_cast<quint8>(carPanel_->height());
    storeRemaps(car, remaps_->toPlainText().split(QLatin1Char('\n')));
    storeDoors(car, doorGridRows());
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
        setGridCell(doorGrid_, row, ColumnX,
                    QString::number(at.x() - origin.x() - cardoorprev_->width() / 2 + 5));
        setGridCell(doorGrid_, row, ColumnY,
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
