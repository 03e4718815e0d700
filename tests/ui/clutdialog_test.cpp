#include "ui/twnd_clutdialog.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Palette p, colour c of the test table: red p, green c.
QImage paletteTable(int palettes) {
    QImage image(palettes, 256, QImage::Format_RGB32);
    for (int c = 0; c < 256; ++c)
        for (int p = 0; p < palettes; ++p)
            image.setPixel(p, c, qRgb(p % 256, c, 77));
    return image;
}

class ClutDialog : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<bool> used(640, false);
        used[0] = used[2] = used[639] = true;
        dialog.setPalettes(paletteTable(640), used);
        dialog.setClutnumber(QStringLiteral("0"));
        dialog.show();
    }

    QWidget *part(const char *name) const { return dialog.findChild<QWidget *>(QLatin1String(name)); }

    void press(const char *name, int x) { QTest::mousePress(part(name), Qt::LeftButton, {}, QPoint(x, 5)); }

    Twnd_clutdialog dialog;
};

TEST_F(ClutDialog, APressPicksThePaletteOfItsThreePixelColumn) {
    for (auto [x, picked] : {std::pair{0, "0"}, {2, "0"}, {3, "1"}, {1917, "639"}}) {
        press("Image1", x);
        EXPECT_EQ(dialog.clutnumber(), picked) << "strip x " << x;
        QTest::mouseRelease(part("Image1"), Qt::LeftButton, {}, QPoint(x, 5));
    }
    press("clut1", 16);
    EXPECT_EQ(dialog.clutnumber(), "5");
}

TEST_F(ClutDialog, ADragFollowsTheMouseUntilTheButtonIsReleased) {
    QWidget *picture = part("clut1");
    press("clut1", 3);
    QTest::mouseMove(picture, QPoint(12, 100));
    EXPECT_EQ(dialog.clutnumber(), "4");
    QTest::mouseMove(picture, QPoint(-20, 100));
    EXPECT_EQ(dialog.clutnumber(), "0");
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(30, 100));
    QTest::mouseMove(picture, QPoint(60, 100));
    EXPECT_EQ(dialog.clutnumber(), "0");
}

TEST_F(ClutDialog, StripIsRedForUsedAndBlackForUnusedPalettes) {
    QWidget *strip = part("Image1");
    ASSERT_EQ(strip->size(), QSize(1920, 10));
    const QImage shown = strip->grab().toImage();
    for (int p : {0, 1, 2, 3, 638, 639}) {
        const QRgb expected = (p == 0 || p == 2 || p == 639) ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
        for (int x = 3 * p; x < 3 * p + 3; ++x)
            EXPECT_EQ(shown.pixel(x, 5), expected) << "palette " << p;
    }
}

TEST_F(ClutDialog, PictureShowsEveryPaletteThreePixelsWide) {
    QWidget *picture = part("clut1");
    ASSERT_EQ(picture->size(), QSize(1920, 256));
    const QImage shown = picture->grab().toImage();
    for (int p : {0, 5, 639})
        for (int c : {0, 128, 255})
            for (int x = 3 * p; x < 3 * p + 3; ++x)
                EXPECT_EQ(shown.pixel(x, c), qRgb(p % 256, c, 77)) << p << "/" << c;
}

TEST_F(ClutDialog, MarkerSitsUnderThePickedPaletteMinusTheScroll) {
    auto *scrollBox = dialog.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
    QWidget *marker = part("Panel1");
    scrollBox->horizontalScrollBar()->setValue(30);
    dialog.setClutnumber(QStringLiteral("100"));
    EXPECT_EQ(marker->mapTo(scrollBox->viewport(), QPoint(0, 0)).x(), 300 - 30);
    EXPECT_EQ(marker->size(), QSize(3, 10));

    dialog.setClutnumber(QString());
    EXPECT_EQ(marker->mapTo(scrollBox->viewport(), QPoint(0, 0)).x(), 300 - 30);
}

TEST_F(ClutDialog, NumberTakesAtMostSevenDigits) {
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("clutnumber"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1a-2 3456789"));
    EXPECT_EQ(dialog.clutnumber(), "1234567");
}

TEST_F(ClutDialog, HeightIsFixedAndWidthIsFree) {
    EXPECT_EQ(dialog.minimumHeight(), dialog.maximumHeight());
    EXPECT_GT(dialog.maximumWidth(), dialog.minimumWidth());
}

TEST_F(ClutDialog, OkAndCancelGiveTheModalResults) {
    QTest::mouseClick(part("btn_ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.show();
    QTest::mouseClick(part("btn_cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
