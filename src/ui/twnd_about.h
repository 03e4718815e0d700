#pragma once

#include <QDialog>

inline const QString AboutTitle = QStringLiteral("VYR2 sty tool (Build: 170211)");

class Twnd_about : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_about(QWidget *parent);
};
