#include "ui/dialogprompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(DialogPrompts, MissingColoursBoxAnswersWithTheButtonPressed) {
    DialogPrompts prompts(nullptr);
    const QString text =
        QStringLiteral("2 colours (7 pixels) that \"a.bmp\" uses are not in palette 4, which shows "
                       "tile 1.");
    const struct {
        const char *button;
        MissingColoursAnswer answer;
    } cases[] = {{"Use nearest colours", MissingColoursAnswer::Nearest},
                 {"Keep stored indexes", MissingColoursAnswer::KeepIndexes},
                 {nullptr, MissingColoursAnswer::Cancel}};
    for (const auto &c : cases) {
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->text().startsWith(text));
            for (QAbstractButton *button : box->buttons())
                captions << button->text();
            for (QAbstractButton *button : box->buttons())
                if (c.button ? button->text() == QLatin1String(c.button)
                             : box->buttonRole(button) == QMessageBox::RejectRole)
                    button->click();
        });
        EXPECT_EQ(prompts.missingColours(text), c.answer);
        EXPECT_EQ(captions.size(), 3);
    }
}

} // namespace
