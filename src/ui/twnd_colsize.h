#pragma once

#include <QDialog>
#include <QSize>
#include <optional>

class QLineEdit;

// "collision size": the car's collision rectangle typed in as numbers.
class Twnd_colsize : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_colsize(QWidget *parent = nullptr);

    // The entered size on "Ok"; nothing on "exit" or when a field is left empty.
    std::optional<QSize> ask(QSize current);

private:
    QLineEdit *width_;
    QLineEdit *height_;
};
