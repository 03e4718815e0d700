#pragma once

#include <QDialog>
#include <QImage>
#include <vector>

class QLineEdit;
class QScrollArea;
class StretchedImageView;

// The palette picker: the user picks one physical palette by its column in the palette table
// picture and gets its number back as text. Reused for every pick; it changes no document.
class Twnd_clutdialog : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_clutdialog(QWidget *parent = nullptr);

    // What the picker shows: the palette table picture and which physical palettes are in use.
    void setPalettes(const QImage &clut1, const std::vector<bool> &used);

    void setClutnumber(const QString &text);
    QString clutnumber() const;

private:
    void pick(int x);
    void placeMarker();

    QScrollArea *scrollBox_;
    StretchedImageView *usageStrip_;
    QWidget *marker_;
    StretchedImageView *picture_;
    QLineEdit *clutnumber_;
};
