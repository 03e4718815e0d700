#pragma once

#include <QList>
#include <QRgb>
#include <QWidget>
#include <array>

// The 256 colours of one physical palette as 16*16 cells. A left click chooses the primary index,
// a right click the secondary; the indexes a graphic uses carry a dot, index 0 a cross for
// transparent.
class PaletteSwatch : public QWidget {
    Q_OBJECT
public:
    static constexpr int Cell = 11;

    explicit PaletteSwatch(QWidget *parent = nullptr);

    void setColours(const QList<QRgb> &colours);
    void setUsed(const std::array<bool, 256> &used);
    void setIndexes(uchar primary, uchar secondary);
    uchar primary() const { return primary_; }
    uchar secondary() const { return secondary_; }
    // The centre of the cell of `index`, for pointing at it.
    QPoint cellCentre(int index) const;

    QSize sizeHint() const override;

signals:
    void indexesChosen(uchar primary, uchar secondary);
    void colourEditRequested(uchar index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int indexAt(QPoint point) const;

    QList<QRgb> colours_;
    std::array<bool, 256> used_{};
    uchar primary_ = 1, secondary_ = 0;
};
