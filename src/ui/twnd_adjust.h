#pragma once

#include <QDialog>
#include <QImage>

class QFormLayout;
class QLabel;
class QSlider;

// Shifts red, green and blue of every palette colour by three offsets and previews the result.
// The caller hands in the palette table picture, resets, shows the dialog and on OK takes the
// preview as the new colours.
class Twnd_adjust : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_adjust(QWidget *parent = nullptr);

    void setSource(const QImage &clut1);
    // All three offsets back to 0: the preview equals the source again.
    void reset();
    QImage preview() const { return clut2_; }

private:
    QSlider *addTrackBar(QFormLayout *bars, const QString &name, const QString &caption);
    void recompute();

    QImage clut1_;
    QImage clut2_;
    QSlider *red_;
    QSlider *green_;
    QSlider *blue_;
    QLabel *clut2View_;
};
