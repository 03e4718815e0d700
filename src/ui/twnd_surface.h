#pragma once

#include <QDialog>

class Prompts;
class QListWidget;
struct StyleDocument;

// "surface for tile %d": the nine surface lists as a check list, kept above other windows.
class Twnd_surface : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_surface(QWidget *parent = nullptr);

    // Shows the tile's surfaces and, on "ok", applies the checks to the document's columns.
    // True when a column changed.
    bool edit(StyleDocument &doc, int tile, Prompts &prompts);

private:
    QListWidget *entries_;
};
