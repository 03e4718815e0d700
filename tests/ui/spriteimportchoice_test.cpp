// The sprite import's palette question answered in the real choice dialog: each option does what
// its row of the dialog's table says, read back from the saved file's own bytes.

#include "ui/twnd_editor.h"

#include "findcaptioned.h"
#include "graphics/spriteentries.h"
#include "platform/bitmapfile.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/stylebytes.h"
#include "support/tempdir.h"
#include "ui/spritespage.h"
#include "ui/twnd_askimport.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Colour c of physical palette p as the palette chunk stores it: blue, green, red, spare.
QRgb storedColour(const QByteArray &ppal, int p, int c) {
    const qsizetype at = qsizetype(p / 64) * 65536 + c * 256 + (p % 64) * 4;
    return qRgb(quint8(ppal[at + 2]), quint8(ppal[at + 1]), quint8(ppal[at]));
}

int storedMapping(const QByteArray &palx, int v) {
    return quint8(palx[2 * v]) | quint8(palx[2 * v + 1]) << 8;
}

TEST(SpriteImportChoice, EveryOptionOfTheDialogDoesWhatItsRowSays) {
    TestDir dir;
    ScriptedPrompts prompts;
    StyleDocument sample = makeSampleStyle();
    SilentProgress progress;
    LineLog log;
    const QString path = writeStyle(sample, dir.path("sample.sty"), prompts, progress, log);
    const auto original = styleChunks(readWholeFile(path));

    const int sprite = 20;
    const SpriteEntry entry = sample.SpriteIndex[std::size_t(sprite)];
    const int v = sample.PaletteCounts[0] + sprite;
    const int own = storedMapping(original.at("PALX"), v);
    const int chosen = 40;
    ASSERT_NE(own, chosen);

    // A picture of the sprite's size whose pixels and colours all differ from the sprite's.
    QImage painted(entry.w, entry.h, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int c = 0; c < 256; ++c)
        colours.append(qRgb(255 - c, c, (c * 5) % 256));
    painted.setColorTable(colours);
    for (int y = 0; y < entry.h; ++y)
        for (int x = 0; x < entry.w; ++x)
            painted.setPixel(x, y, 1 + (x + y) % 250);
    saveBitmap8(dir.path("painted.bmp"), painted);

    struct Row {
        const char *option;
        bool picker;
        int writtenInto; // -1: no colours written
        bool copied;
        int mappedTo;
    };
    const Row rows[] = {
        {"import the palette over current palette (can cause problems with other sprites that share same "
         "palette)",
         false, own, true, own},
        {"i will choose another palette to use, import this sprite's palette there", true, chosen, true,
         chosen},
        {"i want to change the palette that sprite uses, don't import new palette", true, -1, false, chosen},
        {"the palette is 'palette hack', import the palette over palette i will choose and nothing more",
         true, chosen, false, own},
        {"leave the palettes alone please.", false, -1, true, own},
    };

    Twnd_editor window;
    window.setPrompts(&prompts);
    window.resize(900, 600);
    window.show();
    Twnd_askimport *dialog = window.askImportDialog();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.option);
        window.opensty(path);
        window.spritesPage()->selectByNumber(sprite);
        prompts.setImportChooser([&] {
            QTimer::singleShot(0, dialog, [&] {
                for (QRadioButton *option : dialog->findChildren<QRadioButton *>())
                    if (option->text() == QLatin1String(row.option))
                        option->click();
                dialog->findChild<QPushButton *>(QStringLiteral("btn_ok"))->click();
            });
            return dialog->choose();
        });
        const qsizetype asked = prompts.shown().size();
        prompts.queueText(dir.path("painted.bmp"));
        if (row.picker)
            prompts.queueText(QString::number(chosen));
        // The sprite's own palette lacks the painted colours; keeping the stored indexes shows
        // that the pixels are the file's.
        if (row.copied && row.writtenInto < 0)
            prompts.queueColours(MissingColoursAnswer::KeepIndexes);
        findCaptioned<QAction>(window.spritesPage(), "import")->trigger();
        EXPECT_TRUE(prompts.allAnswersUsed());
        EXPECT_EQ(prompts.shown().mid(asked).contains(QStringLiteral("palette picker %1").arg(own)),
                  row.picker);

        prompts.queueText(dir.path("out.sty"));
        findCaptioned<QAction>(&window, "save as")->trigger();
        const auto saved = styleChunks(readWholeFile(dir.path("out.sty")));
        EXPECT_EQ(storedMapping(saved.at("PALX"), v), row.mappedTo);
        for (const int p : {own, chosen})
            for (int c = 0; c < 256; ++c)
                ASSERT_EQ(storedColour(saved.at("PPAL"), p, c),
                          p == row.writtenInto ? colours[c] : storedColour(original.at("PPAL"), p, c))
                    << "palette " << p << " colour " << c;
        const QByteArray &before = original.at("SPRG");
        const QByteArray &after = saved.at("SPRG");
        for (int y = 0; y < entry.h; ++y)
            for (int x = 0; x < entry.w; ++x) {
                const qsizetype at = qsizetype(256 * entry.page() + entry.y() + y) * 256 + entry.x() + x;
                ASSERT_EQ(quint8(after[at]), row.copied ? painted.pixelIndex(x, y) : quint8(before[at]))
                    << x << "," << y;
            }
        prompts.setImportChooser({});
    }
}

} // namespace
