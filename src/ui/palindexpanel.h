#pragma once

#include <QWidget>
#include <vector>

class QListWidget;
class QPushButton;
struct PageContext;

// The side panel's "pal index" tab: one row per palette index entry and the commands on them.
class PalIndexPanel : public QWidget {
    Q_OBJECT
public:
    explicit PalIndexPanel(const PageContext &context, QWidget *parent = nullptr);

    // Whether the commands may run (a document with palettes is open).
    void setReady(bool ready);
    // One row per entry of the document's palette index, drawn again.
    void refresh();

private:
    void remapClick();
    void viewUnusedClick();
    void transparencyBlackClick();

    const PageContext &context_;
    std::vector<QPushButton *> buttons_;
    QListWidget *list_;
};
