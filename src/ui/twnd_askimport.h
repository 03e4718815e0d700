#pragma once

#include "platform/prompts.h"

#include <QDialog>

class QButtonGroup;

// Asks what the sprite import does with the imported sprite's palette. Created once; the option
// picked last stays picked for the next import.
class Twnd_askimport : public QDialog {
    Q_OBJECT
public:
    explicit Twnd_askimport(QWidget *parent = nullptr);

    // Shows the dialog modally: the picked option's result, Cancel for "Cancel" or a close through
    // the window frame.
    SpriteImportChoice choose();
    // The result of the option now picked.
    SpriteImportChoice pickedResult() const;

private:
    QButtonGroup *options_;
};
