#pragma once

#include "widgets/verticalscrollarea.h"

#include <vector>

class PedRemapView;
class Prompts;
class QCheckBox;
class QPushButton;
class QSpinBox;
class SpritesPage;
struct PageContext;

// The side panel's "tool" tab: the ped remap viewer, the sprite selector, the range of sprites,
// the doors' mirror and the raw exports and imports of tiles and sprites.
class ToolPanel : public VerticalScrollArea {
    Q_OBJECT
public:
    // The panel selects sprites on `sprites`.
    ToolPanel(const PageContext &context, SpritesPage *sprites, QWidget *parent = nullptr);

    void setPrompts(Prompts *prompts);
    // Whether the commands may run (a document with palettes is open).
    void setReady(bool ready);
    // The sprite numbers' range and the ped remap follow the document.
    void refresh();
    // The sprite selector names the selected sprite.
    void showSprite(int sprite);
    // The number "redraw overlay" selects.
    const QSpinBox *spriteSelector() const { return spriteSelector_; }
    PedRemapView *pedRemap() const { return pedRemap_; }

signals:
    // A command on the tiles ran, or failed: the info panel describes the grid's tile again.
    void tileCommandRan();

private:
    QPushButton *button(const QString &caption, QWidget *parent, void (ToolPanel::*click)(),
                        bool aboutTiles = false);
    void selectSpriteClick();
    void exportRangeClick();
    void importRangeClick();
    void mirrorDoorsClick();
    void exportRawTilesClick();
    void importRawTilesClick();
    void exportRawSpritesClick();
    void importRawSpritesClick();

    const PageContext &context_;
    SpritesPage *sprites_;
    std::vector<QPushButton *> buttons_;
    PedRemapView *pedRemap_;
    QSpinBox *spriteSelector_;
    QSpinBox *rangeStart_;
    QSpinBox *rangeEnd_;
    QCheckBox *rangePng_;
};
