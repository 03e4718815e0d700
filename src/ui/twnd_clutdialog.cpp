#include "ui/twnd_clutdialog.h"

#include "widgets/dialogbuttons.h"

#include "widgets/stretchedimageview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>

namespace {

constexpr int ScreenPixelsPerPalette = 3;
constexpr int StripHeight = 10;
// Each of the two 10-pixel bars sits in a row tall enough for its label.
constexpr int BarRowHeight = 18;
constexpr int StripTop = (BarRowHeight - StripHeight) / 2;
constexpr int MarkerTop = BarRowHeight + StripTop;
constexpr int PictureTop = 2 * BarRowHeight;
constexpr int PictureHeight = 256;

QLabel *rowLabel(const QString &text, int height, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setFixedHeight(height);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

} // namespace

Twnd_clutdialog::Twnd_clutdialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_clutdialog"));
    setWindowTitle(QStringLiteral("Select palette"));

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
    scrollBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scrollBox_->setWidgetResizable(false);

    // The marker is a child of the scrolled content, so it follows the scroll position by itself.
    auto *content = new QWidget;
    usageStrip_ = new StretchedImageView(content);
    usageStrip_->setObjectName(QStringLiteral("Image1"));
    usageStrip_->move(0, StripTop);
    marker_ = new QWidget(content);
    marker_->setObjectName(QStringLiteral("Panel1"));
    marker_->setFixedSize(ScreenPixelsPerPalette, StripHeight);
    marker_->setAutoFillBackground(true);
    QPalette red = marker_->palette();
    red.setColor(QPalette::Window, Qt::red);
    marker_->setPalette(red);
    marker_->move(0, MarkerTop);
    picture_ = new StretchedImageView(content);
    picture_->setObjectName(QStringLiteral("clut1"));
    picture_->move(0, PictureTop);
    content->resize(0, PictureTop + PictureHeight);
    scrollBox_->setWidget(content);
    scrollBox_->setFixedHeight(content->height() + scrollBox_->horizontalScrollBar()->sizeHint().height() +
                               2 * scrollBox_->frameWidth());
    connect(usageStrip_, &StretchedImageView::pointedAt, this, &Twnd_clutdialog::pick);
    connect(picture_, &StretchedImageView::pointedAt, this, &Twnd_clutdialog::pick);

    auto *labels = new QWidget(this);
    auto *labelColumn = new QVBoxLayout(labels);
    labelColumn->setContentsMargins(0, scrollBox_->frameWidth(), 0, 0);
    labelColumn->setSpacing(0);
    labelColumn->addWidget(rowLabel(QStringLiteral("used = red"), BarRowHeight, labels));
    labelColumn->addWidget(rowLabel(QStringLiteral("selection"), BarRowHeight, labels));
    labelColumn->addWidget(rowLabel(QStringLiteral("palette colors"), PictureHeight, labels));
    labelColumn->addStretch();

    clutnumber_ = new QLineEdit(this);
    clutnumber_->setObjectName(QStringLiteral("clutnumber"));
    clutnumber_->setMaxLength(7);
    clutnumber_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,7}")), clutnumber_));
    connect(clutnumber_, &QLineEdit::textChanged, this, &Twnd_clutdialog::placeMarker);
    auto *caption = new QLabel(QStringLiteral("Palette number:"), this);
    caption->setBuddy(clutnumber_);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(caption);
    bottom->addWidget(clutnumber_);
    bottom->addStretch();
    addOkCancel(this, bottom);

    auto *layout = new QGridLayout(this);
    layout->addWidget(labels, 0, 0);
    layout->addWidget(scrollBox_, 0, 1);
    layout->addLayout(bottom, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    setFixedHeight(sizeHint().height());
    setMinimumWidth(400);
    setMaximumWidth(QWIDGETSIZE_MAX);
    resize(800, height());
}

void Twnd_clutdialog::setPalettes(const QImage &clut1, const std::vector<bool> &used) {
    QImage strip(static_cast<int>(used.size()), 1, QImage::Format_RGB32);
    auto *row = reinterpret_cast<QRgb *>(strip.scanLine(0));
    for (std::size_t p = 0; p < used.size(); ++p)
        row[p] = used[p] ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
    usageStrip_->setImage(strip, QSize(strip.width() * ScreenPixelsPerPalette, StripHeight));
    picture_->setImage(clut1, QSize(clut1.width() * ScreenPixelsPerPalette, PictureHeight));

    QWidget *content = scrollBox_->widget();
    content->resize(std::max(usageStrip_->width(), picture_->width()), content->height());
    placeMarker();
}

void Twnd_clutdialog::setClutnumber(const QString &text) {
    clutnumber_->setText(text);
}

QString Twnd_clutdialog::clutnumber() const {
    return clutnumber_->text();
}

void Twnd_clutdialog::pick(int x) {
    // A drag may leave the picture on the left; there is no palette below 0.
    setClutnumber(QString::number(std::max(0, x) / ScreenPixelsPerPalette));
}

void Twnd_clutdialog::placeMarker() {
    bool ok = false;
    const int palette = clutnumber_->text().toInt(&ok);
    // An empty edit leaves the marker where it was.
    if (ok)
        marker_->move(palette * ScreenPixelsPerPalette, MarkerTop);
}
