#pragma once

#include <QDialog>

class QButtonGroup;

// Asks what the sprite import does with the imported sprite's palette. Created once; the option
// picked last stays picked for the next import.
class Twnd_askimport : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_askimport(QWidget *parent = nullptr);

    // Shows the dialog modally: 1 to 4 for the options of those indexes, 5 for the first option,
    // 127 for "Cancel" or a close through the window frame.
    int choose();
    // The result of the option now picked.
    int pickedResult() const;

private:
    QButtonGroup *options_;
};
