#pragma once

#include "carphysics.h"
#include "carrecords.h"

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
    PhysicsSettings physicsSettings();

    StyleDocument *doc_ = nullptr;
    Prompts *prompts_ = nullptr;
    int sprite_ = 0;
    CarEdit initial_;
    CarEdit working_;
    QImage glyph_;
    bool sliderGuard_ = false;
    bool editGuard_ = false;
    // Where a press on a marker or on the panel's border began, for the drags.
    QPoint dragStart_;
    QPoint dragOrigin_;
    bool resizingPanel_ = false;

    Twnd_submodels *submodels_;
    Twnd_colsize *colsize_;
    QTabWidget *pages_;
    QLabel *scriptName_;
    // Info page
    QWidget *carFrame_;
    QFrame *carPanel_;
    QLabel *carprev_;
    QFrame *panel_offsets_;
    QListWidget *offsetList_;
    QTableWidget *infoGrid_;
    QListWidget *ratingList_;
    QListWidget *wreckList_;
    QCheckBox *check_recycled_;
    // Doors page
    QWidget *doorArea_;
    QLabel *cardoorprev_;
    QFrame *doorpanel_;
    QTableWidget *doorGrid_;
    // Flags page
    QListWidget *flagList_;
    // Remaps page
    QPlainTextEdit *remaps_;
    QLabel *remapprev_;
    // Psyhics page
    QWidget *physicsPage_;
    std::array<QLineEdit *, PhysicsFieldCount> physicsEdits_{};
    std::array<QSlider *, PhysicsFieldCount> physicsSliders_{};
    QCheckBox *turbo_;
    QLineEdit *name_;
    QLabel *tips_;
};
