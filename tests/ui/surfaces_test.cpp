#include "ui/commandrunner.h"
#include "ui/surfacespage.h"
#include "ui/twnd_surface.h"

#include "style/styledocument.h"
#include "support/scriptedprompts.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

StyleDocument surfaceDocument() {
    StyleDocument doc;
    for (const quint16 word : {5, 7, 0, 0, 9, 0})
        doc.SurfaceLists.append(word);
    doc.SurfaceColumns[0] = {QStringLiteral("5"), QStringLiteral("7")};
    doc.SurfaceColumns[2] = {QStringLiteral("9")};
    return doc;
}

TEST(SurfacesPage, ShowsTheWordsAndColumnsAndWritesEditsBack) {
    StyleDocument doc = surfaceDocument();
    DocumentHistory history([&] { return doc; }, [&](const StyleDocument &shown) { doc = shown; });
    CommandRunner runner(doc, history);
    SurfacesPage page;
    QSignalSpy edited(&runner, &CommandRunner::changed);
    page.setRunner(&runner);
    page.setDocument(&doc);
    EXPECT_TRUE(edited.isEmpty()) << "showing the document is no edit";

    const auto *raw = page.findChild<QListWidget *>(QStringLiteral("rawSurfaces"));
    ASSERT_EQ(raw->count(), 6);
    EXPECT_EQ(raw->item(4)->text(), "9");
    const QStringList names = {"spec1", "spec2", "spec3", "spec4", "spec5",
                               "spec_", "spec7", "spec8", "spec9"};
    for (const QString &name : names)
        ASSERT_NE(page.findChild<QPlainTextEdit *>(name), nullptr) << name.toStdString();
    EXPECT_EQ(page.findChild<QPlainTextEdit *>("spec1")->toPlainText(), "5\n7");

    page.findChild<QPlainTextEdit *>("spec_")->setPlainText("12\nx\n");
    EXPECT_EQ(doc.SurfaceColumns[5], QStringList({"12", "x"})) << "text stays text until the save";
    page.findChild<QPlainTextEdit *>("spec1")->setPlainText("");
    EXPECT_TRUE(doc.SurfaceColumns[0].isEmpty());
    EXPECT_EQ(edited.size(), 2);
    EXPECT_EQ(raw->count(), 6) << "the words follow only a save";
}

// Toggles the entries named in `toggle` once the dialog is up and presses `button`.
bool editWith(Twnd_surface &dialog, StyleDocument &doc, int tile, Prompts &prompts, const QStringList &toggle,
              const char *button, QStringList *checkedSeen = nullptr, QString *title = nullptr) {
    QTimer::singleShot(0, &dialog, [&, toggle, button] {
        auto *entries = dialog.findChild<QListWidget *>(QStringLiteral("CheckListBox1"));
        for (int k = 0; k < entries->count(); ++k) {
            QListWidgetItem *entry = entries->item(k);
            if (checkedSeen && entry->checkState() == Qt::Checked)
                *checkedSeen << entry->text();
            if (toggle.contains(entry->text()))
                entry->setCheckState(entry->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        if (title)
            *title = dialog.windowTitle();
        dialog.findChild<QPushButton *>(QLatin1String(button))->click();
    });
    return dialog.edit(doc, tile, prompts);
}

TEST(SurfaceDialog, ShowsTheTilesSurfacesAndAppliesThemOnOk) {
    StyleDocument doc = surfaceDocument();
    doc.SurfaceColumns[2] << QStringLiteral("37");
    ScriptedPrompts prompts;
    Twnd_surface dialog;
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);

    QStringList seen;
    QString title;
    EXPECT_FALSE(
        editWith(dialog, doc, 37, prompts, {"water (floor)", "metal (wall)"}, "btn_cancel", &seen, &title));
    EXPECT_EQ(title, "surface for tile 37");
    EXPECT_EQ(seen, QStringList{"water (floor)"});
    EXPECT_EQ(doc.SurfaceColumns[2], QStringList({"9", "37"}));

    EXPECT_TRUE(editWith(dialog, doc, 37, prompts, {"water (floor)", "metal (wall)"}, "btn_ok"));
    EXPECT_EQ(doc.SurfaceColumns[2], QStringList{"9"});
    EXPECT_EQ(doc.SurfaceColumns[7], QStringList{"37"});
    EXPECT_EQ(dialog.findChild<QPushButton *>("btn_ok")->text(), "ok");
    EXPECT_EQ(dialog.findChild<QPushButton *>("btn_cancel")->text(), "cancel");
}

TEST(SurfaceDialog, RefusesTileZeroWithoutOpening) {
    StyleDocument doc = surfaceDocument();
    ScriptedPrompts prompts;
    Twnd_surface dialog;
    EXPECT_FALSE(dialog.edit(doc, 0, prompts));
    EXPECT_EQ(prompts.messages().size(), 1);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
