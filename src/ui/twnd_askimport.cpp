#include "ui/twnd_askimport.h"

#include "platform/prompts.h"
#include "widgets/dialogbuttons.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct Option {
    const char *text;
    SpriteImportChoice result;
};

// The options in the order the dialog lists them, each with the result it returns.
const Option Options[] = {
    {"import the palette over current palette (can cause problems with other sprites that share same "
     "palette)",
     SpriteImportChoice::ImportOverCurrent},
    {"i will choose another palette to use, import this sprite's palette there",
     SpriteImportChoice::ImportIntoChosen},
    {"i want to change the palette that sprite uses, don't import new palette",
     SpriteImportChoice::ChangePaletteOnly},
    {"the palette is 'palette hack', import the palette over palette i will choose and nothing more",
     SpriteImportChoice::PaletteHack},
    {"leave the palettes alone please.", SpriteImportChoice::PixelsOnly},
};

} // namespace

Twnd_askimport::Twnd_askimport(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_askimport"));
    setWindowTitle(QStringLiteral("how should i threat this sprite's palette?"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("You are importing a sprite, what do you want to do with sprite's palette?"), this));

    auto *group = new QGroupBox(QStringLiteral(" choose an option: "), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto *groupLayout = new QVBoxLayout(group);
    options_ = new QButtonGroup(this);
    for (const Option &entry : Options) {
        auto *option = new QRadioButton(QLatin1String(entry.text), group);
        options_->addButton(option, int(entry.result));
        groupLayout->addWidget(option);
    }
    options_->buttons().first()->setChecked(true);
    layout->addWidget(group);

    auto *row = new QHBoxLayout;
    row->addStretch();
    addOkCancel(this, row, QStringLiteral("&Ok"), QStringLiteral("&Cancel"));
    layout->addLayout(row);
}

SpriteImportChoice Twnd_askimport::choose() {
    return exec() == QDialog::Accepted ? pickedResult() : SpriteImportChoice::Cancel;
}

SpriteImportChoice Twnd_askimport::pickedResult() const {
    return static_cast<SpriteImportChoice>(options_->checkedId());
}
