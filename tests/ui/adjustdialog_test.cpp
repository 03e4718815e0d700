#include "ui/twnd_adjust.h"

#include <QLabel>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage paletteTable() {
    QImage image(64, 256, QImage::Format_RGB32);
    for (int c = 0; c < 256; ++c)
        for (int p = 0; p < 64; ++p)
            image.setPixel(p, c, qRgb(p * 4, c, 255 - c));
    return image;
}

QImage filled(QRgb colour) {
    QImage image(64, 256, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class AdjustDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.setSource(source);
        dialog.reset();
    }

    QSlider *bar(const char *name) const { return dialog.findChild<QSlider *>(QLatin1String(name)); }

    void setOffsets(int red, int green, int blue) {
        bar("RedTrackBar")->setValue(red);
        bar("GreenTrackBar")->setValue(green);
        bar("BlueTrackBar")->setValue(blue);
    }

    const QImage source = paletteTable();
    Twnd_adjust dialog;
};

TEST_F(AdjustDialog, PreviewFollowsTheBarsToTheirLimits) {
    EXPECT_EQ(dialog.preview(), source);
    setOffsets(255, 255, 255);
    EXPECT_EQ(dialog.preview(), filled(qRgb(255, 255, 255)));
    setOffsets(-255, -255, -255);
    EXPECT_EQ(dialog.preview(), filled(qRgb(0, 0, 0)));
}

TEST_F(AdjustDialog, OffsetsNeverAccumulate) {
    setOffsets(40, 0, 0);
    setOffsets(80, 0, 0);
    EXPECT_EQ(qRed(dialog.preview().pixel(10, 0)), 120);
    setOffsets(0, 0, 0);
    EXPECT_EQ(dialog.preview(), source);
}

TEST_F(AdjustDialog, ResetButtonRestoresTheUnadjustedPreview) {
    setOffsets(-30, 200, 7);
    QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("btn_reset")), Qt::LeftButton);
    EXPECT_EQ(dialog.preview(), source);
    for (const char *name : {"RedTrackBar", "GreenTrackBar", "BlueTrackBar"})
        EXPECT_EQ(bar(name)->value(), 0) << name;
}

TEST_F(AdjustDialog, ANewSourceIsPreviewedAtItsOwnSize) {
    setOffsets(10, 0, 0);
    const QImage wider = paletteTable().scaled(128, 256);
    dialog.setSource(wider);
    dialog.reset();
    EXPECT_EQ(dialog.preview(), wider);
    EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("clut2"))->pixmap().size(), QSize(128, 256));
}

} // namespace
