// The pages of the car record's own fields: Info, Flags and Remaps.

#include "ui/careditordialog.h"

#include "ui/careditorcontrols.h"

#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/prompts.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

QListWidget *textList(QWidget *parent, const QString &name, const auto &texts) {
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    for (const char *text : texts)
        list->addItem(QString::fromLatin1(text));
    return list;
}

} // namespace

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
    panel_offsets_ = markerFrame(carprev_, QStringLiteral("panel_offsets"), QStringLiteral("red"));
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
        if (!isIntegerText(item->text()))
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
