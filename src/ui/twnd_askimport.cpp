#include "twnd_askimport.h"

#include "dialogbuttons.h"
#include "prompts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int CancelResult = ImportChoiceCancel;
// The first option's result; the others return their own index.
constexpr int FirstOptionResult = 5;

const char *const OptionTexts[] = {
    ("import the palette over current palette (can cause problems with other sprites that share same "
     "palette)"),
    "i will choose another palette to use, import this sprite's palette there",
    "i want to change the palette that sprite uses, don't import new palette",
    "the palette is 'palette hack', import the palette over palette i will choose and nothing more",
    "leave the palettes alone please.",
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
    int index = 0;
    for (const char *text : OptionTexts) {
        auto *option = new QRadioButton(QLatin1String(text), group);
        options_->addButton(option, index++);
        groupLayout->addWidget(option);
    }
    options_->button(0)->setChecked(true);
    layout->addWidget(group);

    auto *row = new QHBoxLayout;
    row->addStretch();
    addOkCancel(this, row, QStringLiteral("&Ok"), QStringLiteral("&Cancel"));
    layout->addLayout(row);
}

int Twnd_askimport::choose() {
    return exec() == QDialog::Accepted ? pickedResult() : CancelResult;
}

int Twnd_askimport::pickedResult() const {
    const int index = options_->checkedId();
    return index == 0 ? FirstOptionResult : index;
}
