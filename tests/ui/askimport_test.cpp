#include "ui/twnd_askimport.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Picks option `index` (none when negative) once the dialog is up and presses `button`.
int chooseWith(Twnd_askimport &dialog, int index, const char *button) {
    QTimer::singleShot(0, &dialog, [&dialog, index, button] {
        if (index >= 0)
            dialog.findChildren<QRadioButton *>()[index]->click();
        dialog.findChild<QPushButton *>(QLatin1String(button))->click();
    });
    return int(dialog.choose());
}

TEST(AskImport, ShowsItsTextsWithTheFirstOptionPicked) {
    Twnd_askimport dialog;
    EXPECT_EQ(dialog.windowTitle(), "how should i threat this sprite's palette?");
    const QList<QRadioButton *> options = dialog.findChildren<QRadioButton *>();
    ASSERT_EQ(options.size(), 5);
    EXPECT_TRUE(options[0]->isChecked());
    EXPECT_EQ(options[4]->text(), "leave the palettes alone please.");
    EXPECT_EQ(dialog.findChild<QPushButton *>("btn_cancel")->text(), "&Cancel");
}

TEST(AskImport, ReturnsTheOptionIndexFiveForTheFirstAndKeepsTheChoice) {
    Twnd_askimport dialog;
    EXPECT_EQ(chooseWith(dialog, -1, "btn_ok"), 5);
    for (int index : {1, 2, 3, 4})
        EXPECT_EQ(chooseWith(dialog, index, "btn_ok"), index);
    EXPECT_EQ(chooseWith(dialog, -1, "btn_ok"), 4) << "the last choice stays picked";
    EXPECT_EQ(chooseWith(dialog, 2, "btn_cancel"), 127);
    EXPECT_EQ(chooseWith(dialog, -1, "btn_ok"), 2);
    EXPECT_EQ(chooseWith(dialog, 0, "btn_ok"), 5);
}

} // namespace
