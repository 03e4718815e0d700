#include "ui/spritelistpage.h"

#include "graphics/spriteentries.h"
#include "graphics/spritepages.h"

#include <QAction>
#include <QListWidget>
#include <QMetaMethod>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QVBoxLayout>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace {

class SpriteItemDelegate final : public QStyledItemDelegate {
public:
    SpriteItemDelegate(QListWidget *list) : QStyledItemDelegate(list), list_(list) {}

    void setSources(const StyleDocument *document, const SpriteStrip *strip) {
        document_ = document;
        strip_ = strip;
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override {
        return QSize(option.rect.width(), SpriteListPage::ItemHeight);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const int sprite = index.row();
        if (!document_ || sprite >= document_->spriteCount())
            return;
        const SpriteEntry &entry = document_->SpriteIndex[std::size_t(sprite)];
        const QRect item = option.rect;
        painter->fillRect(item, option.palette.base());
        const bool selected = option.state & QStyle::State_Selected;
        qDrawShadePanel(painter, item, option.palette, selected, 1);
        const QRect inset = item.adjusted(3, 3, -3, -3);
        painter->setPen(option.palette.text().color());
        painter->drawText(inset, Qt::TextWordWrap,
                          QStringLiteral("X: %1\nY: %2\nPage: %3\nwidth: %4\nheight: %5")
                              .arg(entry.x())
                              .arg(entry.y())
                              .arg(entry.page())
                              .arg(entry.w)
                              .arg(entry.h));
        const QRect thumbnail =
            spriteThumbnailRect(inset, SpriteListPage::ItemHeight, list_->width(), entry.w, entry.h);
        const QRect source = spriteRect(entry);
        if (thumbnail.isEmpty() || !strip_ || !QRect(QPoint(0, 0), strip_->size()).contains(source))
            return;
        painter->drawImage(thumbnail, strip_->painted(source), source);
    }

private:
    QListWidget *list_;
    const StyleDocument *document_ = nullptr;
    const SpriteStrip *strip_ = nullptr;
};

// The list stands its items in as many columns as fit across and scrolls up and down only. The
// vertical scroll bar is always there, so the columns depend on the list's own size alone.
class SpriteList final : public QListWidget {
public:
    explicit SpriteList(QWidget *parent) : QListWidget(parent) {
        setFlow(QListView::LeftToRight);
        setWrapping(true);
        setResizeMode(QListView::Adjust);
        setUniformItemSizes(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

protected:
    void resizeEvent(QResizeEvent *event) override {
        QListWidget::resizeEvent(event);
        // The view starts a new row as soon as a row would fill the width exactly, so the columns
        // share one pixel less.
        const int inner = viewport()->width();
        setGridSize(QSize((inner - 1) / spriteListColumns(inner), SpriteListPage::ItemHeight));
    }
};

} // namespace

int spriteListColumns(int innerWidth) {
    return std::max(1, innerWidth / SpriteListPage::ColumnWidth);
}

QRect spriteThumbnailRect(const QRect &inset, int itemHeight, int listWidth, int spriteWidth,
                          int spriteHeight) {
    if (spriteWidth <= 0 || spriteHeight <= 0 || itemHeight <= 0)
        return QRect();
    const int right = inset.left() + inset.width() - 3;
    if (qint64(spriteWidth) * itemHeight >= qint64(listWidth) * spriteHeight) {
        const int height = int(std::lround(double(spriteHeight) * listWidth / spriteWidth));
        const int top = inset.top() - 3 + (itemHeight - height) / 2;
        return QRect(QPoint(inset.left(), top), QPoint(right - 1, top + height - 1));
    }
    const int width = int(std::lround(double(spriteWidth) * itemHeight / spriteHeight));
    const int left = std::max(inset.left(), inset.left() + inset.width() - width);
    return QRect(QPoint(left, inset.top()), QPoint(right - 1, inset.top() + itemHeight - 7 - 1));
}

SpriteListPage::SpriteListPage(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    auto *tools = new QToolBar(this);
    refresh_ = tools->addAction(QStringLiteral("refresh"), this, [this] { refresh(); });
    show_ = tools->addAction(QStringLiteral("Show sprite"), this, [this] {
        if (list_->currentRow() >= 0)
            emit showSprite(list_->currentRow());
    });
    publish_ = tools->addAction(QStringLiteral("create zip and gif file of this car for publishing"), this,
                                [this] { emit publishRequested(list_->currentRow()); });
    layout->addWidget(tools);
    list_ = new SpriteList(this);
    list_->setObjectName(QStringLiteral("spritelist"));
    list_->setItemDelegate(new SpriteItemDelegate(list_));
    layout->addWidget(list_, 1);
    connect(list_, &QListWidget::currentRowChanged, this, &SpriteListPage::updatePublishButton);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit showSprite(list_->row(item)); });
    setReady(false);
}

void SpriteListPage::setDocument(const StyleDocument *document, const SpriteStrip *strip) {
    document_ = document;
    static_cast<SpriteItemDelegate *>(list_->itemDelegate())->setSources(document, strip);
}

void SpriteListPage::setReady(bool ready) {
    ready_ = ready;
    refresh_->setEnabled(ready);
    show_->setEnabled(ready);
    updatePublishButton();
}

void SpriteListPage::refresh(Selection selection) {
    const int count = document_ ? document_->spriteCount() : 0;
    const int current = selection == Selection::Keep ? std::max(0, list_->currentRow()) : 0;
    if (list_->count() != count) {
        list_->clear();
        // One insertion for all items: the view lays itself out once.
        list_->addItems(QStringList(count, QString()));
    }
    if (count > 0)
        list_->setCurrentRow(std::min(current, count - 1));
    list_->viewport()->update();
    updatePublishButton();
}

void SpriteListPage::showChange(const DocumentChange &change) {
    const ChangedItems &sprites = change.items.sprites;
    if (sprites.none() && !change.sprites())
        return;
    const int count = document_ ? document_->spriteCount() : 0;
    if (sprites.all() || list_->count() != count)
        return refresh(Selection::Keep);
    // A hidden list paints all it shows when it is shown; asking it where items lie would lay out
    // every item now.
    if (list_->isVisible())
        for (const int sprite : sprites.items())
            list_->viewport()->update(list_->visualItemRect(list_->item(sprite)));
    updatePublishButton();
}

void SpriteListPage::updatePublishButton() {
    const int row = list_->currentRow();
    const bool car =
        ready_ && document_ && row >= 0 && row < document_->spriteCount() && isCarSprite(*document_, row);
    publish_->setEnabled(car &&
                         isSignalConnected(QMetaMethod::fromSignal(&SpriteListPage::publishRequested)));
}
