#pragma once

#include <QDialog>

class Twnd_about : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_about(QWidget *parent);
};
