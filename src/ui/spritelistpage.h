#pragma once

#include "styledocument.h"

#include <QWidget>

class QAction;
class QListWidget;

// The "sprite list" page: one 78-pixel item per sprite entry with its numbers and a thumbnail
// taken from the page strip.
class SpriteListPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 78;

    explicit SpriteListPage(QWidget *parent = nullptr);

    // The strip is read when items are drawn, so it must outlive the page's use of it.
    void setDocument(const StyleDocument *document, const QImage *strip);
    void setReady(bool ready);
    // "refresh": one item per entry, the first one selected.
    void refresh();
    QListWidget *list() const { return list_; }

signals:
    void showSprite(int sprite);
    void publishRequested(int sprite);

private:
    void updatePublishButton();

    const StyleDocument *document_ = nullptr;
    bool ready_ = false;
    QAction *refresh_;
    QAction *show_;
    QAction *publish_;
    QListWidget *list_;
};

// Where an item draws a sprite's thumbnail: beside the text, right-aligned, as high as the item
// allows, or across the item for a sprite wider than the list's proportions. Empty for a sprite
// without pixels.
QRect spriteThumbnailRect(const QRect &inset, int itemHeight, int listWidth, int spriteWidth,
                          int spriteHeight);
