#pragma once

#include <QScrollArea>

// A scroll area that scrolls up and down only and asks for the width its widget needs, so that
// every control of a side page stays inside the panel.
class VerticalScrollArea : public QScrollArea {
public:
    explicit VerticalScrollArea(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
};
