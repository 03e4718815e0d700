#pragma once

#include "style/styledocument.h"
#include "ui/documentchange.h"

#include <QWidget>

class QAction;
class SpriteStrip;
class QListWidget;

// The "sprite list" page: one 78-pixel item per sprite entry with its numbers and a thumbnail
// taken from the page strip.
class SpriteListPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 78;
    static constexpr int ColumnWidth = 130;
    // Whether a refresh selects the first item or keeps the one the user is on.
    enum class Selection { First, Keep };

    explicit SpriteListPage(QWidget *parent = nullptr);

    // The strip is read when items are drawn, so it must outlive the page's use of it.
    void setDocument(const StyleDocument *document, const SpriteStrip *strip);
    void setReady(bool ready);
    // One item per entry: "refresh" and loading select the first one; after an edit the current
    // item stays (the last one when the list became shorter).
    void refresh(Selection selection = Selection::First);
    // Draws again the items of the sprites `change` names; a list of another length is filled anew.
    void showChange(const DocumentChange &change);
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
// Columns of a list whose inner width (without its vertical scroll bar) is `innerWidth`.
int spriteListColumns(int innerWidth);

QRect spriteThumbnailRect(const QRect &inset, int itemHeight, int listWidth, int spriteWidth,
                          int spriteHeight);
