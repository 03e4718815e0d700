#pragma once

#include "cars/carphysics.h"
#include "cars/carrecords.h"

#include <QDialog>
#include <QImage>
#include <array>

class Prompts;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSlider;
class QTabWidget;
class QTableWidget;
class Twnd_colsize;
class Twnd_submodels;

// "Car editor": one car record, the car's entry in the recycle list and its physics block in the
// car script. The controls work on a copy; only "Ok" stores it.
class Twnd_caredit : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_caredit(QWidget *parent = nullptr);

    // "edit car" for the selected sprite. Nothing happens for a sprite that is no car sprite; a
    // car without a record is reported. True when "Ok" stored the edit into `doc`.
    bool editCar(StyleDocument &doc, int sprite, Prompts &prompts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makeInfoPage();
    QWidget *makeDoorsPage();
    QWidget *makeFlagsPage();
    QWidget *makeRemapsPage();
    QWidget *makePhysicsPage();

    void btn_resetClick();
    void btn_okClick();
    void btn_viewClick();
    void btn_adddoorClick();
    void btn_removedoorClick();
    void btn_mirrorpreviousClick();
    void flaglistClickCheck();
    void listClick();
    void offsetlistClick();
    void doorgridSelectCell();
    void physicsEditChange();
    void physicsSliderChange();

    void setPanelSize(QSize size);
    void centrePanel();
    void centreDoorPreview();
    void placeOffsetMarker();
    void placeDoorMarker();
    DoorRows doorGridRows() const;
    void setDoorGridRows(const DoorRows &rows);
    void readControls();
    // Throws for a physics edit the user left holding text that cannot be read.
    void refuseTypedUnreadableValues() const;
    // What the physics controls hold.
    PhysicsSettings physicsSettings() const;

    StyleDocument *doc_ = nullptr;
    Prompts *prompts_ = nullptr;
    int sprite_ = 0;
    CarEdit initial_;
    CarEdit working_;
    // The physics values as the block held them when the editor opened.
    std::array<QString, PhysicsFieldCount> shownPhysicsTexts_;
    QImage glyph_;
    bool sliderGuard_ = false;
    bool editGuard_ = false;
    // Where a press on a marker or on the panel's border began, for the drags.
    QPoint dragStart_;
    QPoint dragOrigin_;
    bool resizingPanel_ = false;

    // Null until made: the event filter sees events while the constructor is still building pages.
    Twnd_submodels *submodels_ = nullptr;
    Twnd_colsize *colsize_ = nullptr;
    QTabWidget *pages_ = nullptr;
    QLabel *scriptName_ = nullptr;
    // Info page
    QWidget *carFrame_ = nullptr;
    QFrame *carPanel_ = nullptr;
    QLabel *carprev_ = nullptr;
    QFrame *panel_offsets_ = nullptr;
    QListWidget *offsetList_ = nullptr;
    QTableWidget *infoGrid_ = nullptr;
    QListWidget *ratingList_ = nullptr;
    QListWidget *wreckList_ = nullptr;
    QCheckBox *check_recycled_ = nullptr;
    // Doors page
    QWidget *doorArea_ = nullptr;
    QLabel *cardoorprev_ = nullptr;
    QFrame *doorpanel_ = nullptr;
    QTableWidget *doorGrid_ = nullptr;
    // Flags page
    QListWidget *flagList_ = nullptr;
    // Remaps page
    QPlainTextEdit *remaps_ = nullptr;
    QLabel *remapprev_ = nullptr;
    // Psyhics page
    QWidget *physicsPage_ = nullptr;
    std::array<QLineEdit *, PhysicsFieldCount> physicsEdits_{};
    std::array<QSlider *, PhysicsFieldCount> physicsSliders_{};
    QCheckBox *turbo_ = nullptr;
    QLineEdit *name_ = nullptr;
    QLabel *tips_ = nullptr;
};
