#pragma once

#include <QWidget>
#include <functional>

// A page whose contents are made the first time it is shown or asked for, so that a window of
// many pages pays at its start only for the one on screen.
class LazyPage : public QWidget {
    Q_OBJECT
public:
    explicit LazyPage(std::function<QWidget *()> make, QWidget *parent = nullptr);

    // The contents, made now if they were not yet; null while they are being made.
    QWidget *contents();
    bool isBuilt() const { return contents_ != nullptr; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<QWidget *()> make_;
    QWidget *contents_ = nullptr;
    bool making_ = false;
};
