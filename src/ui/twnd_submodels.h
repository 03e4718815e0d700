#pragma once

#include <QDialog>
#include <optional>

class QListWidget;

// "Submodel": several car records share one sprite; the user picks which of them to edit.
class Twnd_submodels : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_submodels(QWidget *parent = nullptr);

    // Lists the entries 0 to `subModels` with 0 selected; the chosen entry on "OK", else nothing.
    std::optional<int> choose(int subModels);

private:
    QListWidget *list_;
};
