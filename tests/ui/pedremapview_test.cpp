#include "ui/pedremapview.h"

#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "style/styledocument.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

// Ped remap r sits at virtual palette 10 + r and shows physical palette 20 + r; remap 6 is past
// the end of the list.
StyleDocument remapDocument() {
    StyleDocument doc;
    doc.PaletteCounts[PalTile] = 4;
    doc.PaletteCounts[PalSprite] = 4;
    doc.PaletteCounts[PalCarRemap] = 2;
    doc.PaletteCounts[PalPedRemap] = 6;
    for (int v = 0; v < 16; ++v)
        doc.PaletteIndex.append(static_cast<quint16>(v + 10));
    doc.PhysicalPaletteCount = 64;
    for (int p = 0; p < 64; ++p)
        for (int c = 0; c < 256; ++c)
            writetoclut(doc, p, c, colourValue(p * 3, c, 90));
    return doc;
}

class PedRemapViewTest : public ::testing::Test {
protected:
    QSpinBox *number() const { return view.findChild<QSpinBox *>(QStringLiteral("pedremap")); }
    QWidget *pedview() const { return view.findChild<QWidget *>(QStringLiteral("pedview")); }
    void press(const char *name) { view.findChild<QPushButton *>(QLatin1String(name))->click(); }

    const StyleDocument doc = remapDocument();
    ScriptedPrompts prompts;
    PedRemapView view{&prompts};
};

TEST_F(PedRemapViewTest, NumberFieldAndPaletteTablePressRecolourThePicture) {
    ASSERT_EQ(number()->minimum(), 0);
    ASSERT_EQ(number()->maximum(), 10000);
    const QImage builtIn = view.picture();
    EXPECT_EQ(pedview()->size(), builtIn.size() * 2);

    view.setDocument(&doc);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 20));

    number()->setValue(3);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 23));
    view.setRemap(5);
    EXPECT_EQ(number()->value(), 5);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 25));
    EXPECT_TRUE(prompts.messages().isEmpty());

    view.setRemap(6);
    EXPECT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 25));
}

TEST_F(PedRemapViewTest, NewDocumentWithoutTheRemapKeepsColoursSilently) {
    view.setDocument(&doc);
    view.setRemap(2);
    StyleDocument shorter = doc;
    shorter.PaletteIndex.resize(11);
    view.setDocument(&shorter);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 22));
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(PedRemapViewTest, OpenedBitmapShowsAtTwiceItsSizeUntilTheRemapChanges) {
    TestDir dir;
    QImage file(30, 20, QImage::Format_Indexed8);
    file.setColorTable(QList<QRgb>(256, qRgb(1, 2, 3)));
    file.fill(7);
    saveBitmap8(dir.path(QStringLiteral("walker.bmp")), file);
    view.setDocument(&doc);

    prompts.queueText(dir.path(QStringLiteral("walker.bmp")));
    press("btn_pedopen");
    EXPECT_EQ(pedview()->size(), QSize(60, 40));
    EXPECT_EQ(view.picture().colorTable(), file.colorTable());

    view.setRemap(1);
    EXPECT_EQ(view.picture().colorTable(), ClutToPal(doc, 21));
    prompts.queueText(dir.path(QStringLiteral("walker21")));
    press("btn_pedsave");
    const LoadedBitmap saved = loadBitmap(dir.path(QStringLiteral("walker21.bmp")));
    EXPECT_EQ(saved.image.colorTable(), ClutToPal(doc, 21));
    EXPECT_EQ(saved.image.pixelIndex(29, 19), 7);
    EXPECT_TRUE(prompts.allAnswersUsed());
}

} // namespace
