#pragma once

#include <QDialog>
#include <QSize>
#include <optional>

class QLineEdit;

class Prompts;

// "collision size": the car's collision rectangle typed in as numbers.
class Twnd_colsize : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_colsize(QWidget *parent = nullptr);

    // The entered size on "Ok"; nothing on "exit". "Ok" on a size the record cannot hold is
    // refused through `prompts` and the dialog stays open.
    std::optional<QSize> ask(QSize current, Prompts &prompts);

private:
    void btn_okClick();

    QLineEdit *width_;
    QLineEdit *height_;
    Prompts *prompts_ = nullptr;
    QSize entered_;
};
