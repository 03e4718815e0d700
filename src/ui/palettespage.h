#pragma once

#include <QWidget>
#include <vector>

class PaletteTablePicture;
class QAction;
class StretchedImageView;
class Twnd_adjust;
struct PageContext;

// The "Palettes" page: the palette table picture and the commands on the palettes.
class PalettesPage : public QWidget {
    Q_OBJECT
public:
    // The page shows `picture`, which the window's palette questions share.
    PalettesPage(const PageContext &context, PaletteTablePicture &picture, QWidget *parent = nullptr);

    // The table's import runs on any open style; the other commands need its palettes.
    void setReady(bool open, bool coloured);
    // Shows the palettes again.
    void refresh();
    Twnd_adjust *adjustDialog() const { return adjust_; }

signals:
    // A press on the picture, with the picture column (one palette per column).
    void pointedAt(int column);

private:
    void exportClick();
    void importClick();
    void brightnessClick();
    void addPalettesClick();
    void removePalettesClick();
    void importPalClick();
    void exportPalClick();

    const PageContext &context_;
    PaletteTablePicture &picture_;
    QAction *importTable_;
    std::vector<QAction *> colouredActions_;
    StretchedImageView *view_;
    Twnd_adjust *adjust_;
};
