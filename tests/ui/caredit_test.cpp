#include "ui/careditordialog.h"
#include "ui/collisionsizedialog.h"
#include "ui/twnd_submodels.h"

#include "cars/carscript.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int BusSprite = 3; // car 3, model 11, four doors
constexpr int Mass = 0, Thrust = 1, BrakeFriction = 4, TurnIn = 6, CarCost = 17;

StyleDocument sampleWithScript() {
    StyleDocument doc = makeSampleStyle();
    doc.CarScript = makeSampleCarScript(doc);
    return doc;
}

template <typename T> T *child(QWidget &dialog, const QString &name) {
    T *found = dialog.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

QListWidgetItem *entry(QWidget &dialog, const QString &list, const QString &text) {
    const QList<QListWidgetItem *> found =
        child<QListWidget>(dialog, list)->findItems(text, Qt::MatchExactly);
    EXPECT_EQ(found.size(), 1) << text.toStdString();
    return found.value(0);
}

void click(QWidget &dialog, const QString &button) {
    child<QPushButton>(dialog, button)->click();
}

// Runs `steps` once the dialog is up, then opens it for `sprite`.
bool editWith(Twnd_caredit &dialog, StyleDocument &doc, int sprite, Prompts &prompts,
              const std::function<void()> &steps) {
    QTimer::singleShot(0, &dialog, steps);
    return dialog.editCar(doc, sprite, prompts);
}

void drag(QWidget *widget, QPoint by) {
    const QPoint start = widget->mapToGlobal(QPoint(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5) + QPointF(by), QPointF(start + by), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST(CarEditor, OkStoresDoorsFlagsPhysicsAndTheRecycleList) {
    StyleDocument doc = sampleWithScript();
    const StyleDocument original = doc;
    const CarInfoRecord bus = doc.CarInfoTable[3];
    ASSERT_TRUE(isRecycled(doc.RecycleList, 11));
    ScriptedPrompts prompts;
    Twnd_caredit dialog;

    const bool stored = editWith(dialog, doc, BusSprite, prompts, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Car editor");
        auto *pages = child<QTabWidget>(dialog, "PageControl1");
        const QStringList tabs = {"Info", "Doors", "Flags", "Remaps", "Psyhics"};
        for (int k = 0; k < tabs.size(); ++k)
            EXPECT_EQ(pages->tabText(k), tabs[k]);
        EXPECT_TRUE(pages->isTabVisible(4));
        EXPECT_EQ(child<QLabel>(dialog, "scriptname")->text(), "script car name: BUS");
        EXPECT_EQ(child<QTableWidget>(dialog, "infogrid")->item(0, 1)->text(), "11");

        pages->setCurrentIndex(1);
        auto *doors = child<QTableWidget>(dialog, "doorgrid");
        ASSERT_EQ(doors->rowCount(), 4);
        EXPECT_EQ(doors->item(1, 2)->text(), "X");
        doors->setCurrentCell(0, 0);
        click(dialog, "btn_removedoor");
        ASSERT_EQ(doors->rowCount(), 3);
        click(dialog, "btn_adddoor");
        ASSERT_EQ(doors->rowCount(), 4);
        EXPECT_EQ(doors->item(3, 0)->text(), "0");
        doors->item(3, 0)->setText("-6");
        doors->item(3, 2)->setText("X");
        doors->item(3, 1)->setText("up");
        EXPECT_EQ(doors->item(3, 1)->text(), "0") << "a cell that is no number becomes 0";
        doors->setCurrentCell(3, 0);
        auto *marker = child<QWidget>(dialog, "doorpanel");
        const QPoint at = marker->pos();
        drag(marker, QPoint(2, -3));
        EXPECT_EQ(marker->pos(), at + QPoint(2, -3));
        EXPECT_EQ(doors->item(3, 0)->text(), "-4");
        EXPECT_EQ(doors->item(3, 1)->text(), "-3");

        entry(dialog, "flaglist", "rear emergency lights")->setCheckState(Qt::Checked);
        EXPECT_EQ(entry(dialog, "flaglist", "emergency lights (police car)")->checkState(), Qt::Checked);

        child<QSlider>(dialog, QStringLiteral("physicsslider%1").arg(Mass))->setValue(2500);
        EXPECT_EQ(child<QLineEdit>(dialog, QStringLiteral("physicsedit%1").arg(Mass))->text(), "2.500");
        auto *thrust = child<QLineEdit>(dialog, QStringLiteral("physicsedit%1").arg(Thrust));
        thrust->setText("0.95");
        EXPECT_EQ(child<QSlider>(dialog, QStringLiteral("physicsslider%1").arg(Thrust))->value(), 950);
        EXPECT_EQ(thrust->text(), "0.95") << "the edit keeps what was typed until Ok";

        child<QCheckBox>(dialog, "check_recycled")->click();
        click(dialog, "btn_ok");
    });

    ASSERT_TRUE(stored);
    EXPECT_TRUE(prompts.messages().isEmpty());
    const CarInfoRecord &car = doc.CarInfoTable[3];
    ASSERT_EQ(car.num_doors, 4);
    EXPECT_EQ(car.doors[0], bus.doors[1]);
    EXPECT_EQ(car.doors[2], bus.doors[3]);
    EXPECT_EQ(car.doors[3], (DoorPosition{-68, -3})) << "walk-in at x -4";
    EXPECT_EQ(car.info_flags, bus.info_flags | 0x82);
    EXPECT_EQ(car.rating, ratingValue(ratingEntry(bus.rating)));
    EXPECT_EQ(car.remap, bus.remap);
    EXPECT_FALSE(isRecycled(doc.RecycleList, 11));
    EXPECT_EQ(doc.RecycleList.count(), original.RecycleList.count() - 1);

    const int line = findModelLine(doc.CarScript, 11);
    EXPECT_EQ(doc.CarScript[line + 4], "f2.500 {mass}");
    EXPECT_EQ(doc.CarScript[line + 12], "f0.950 {thrust}");
    EXPECT_EQ(doc.CarScript[line - 1], "{BUS}");
    for (int i = 0; i < doc.CarScript.size(); ++i) {
        if (i != line + 4 && i != line + 12) {
            EXPECT_EQ(doc.CarScript[i], original.CarScript[i]) << "line " << i;
        }
    }
    for (int c = 0; c < doc.CarCount(); ++c) {
        if (c != 3) {
            EXPECT_EQ(doc.CarInfoTable[static_cast<std::size_t>(c)],
                      original.CarInfoTable[static_cast<std::size_t>(c)]);
        }
    }
}

TEST(CarEditor, CancelAndResetKeepTheCar) {
    StyleDocument doc = sampleWithScript();
    const StyleDocument original = doc;
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    EXPECT_FALSE(editWith(dialog, doc, BusSprite, prompts, [&] {
        auto *doors = child<QTableWidget>(dialog, "doorgrid");
        doors->setCurrentCell(0, 0);
        for (int k = 0; k < 4; ++k)
            click(dialog, "btn_removedoor");
        EXPECT_FALSE(doors->isVisibleTo(&dialog)) << "no doors, no grid";
        child<QSlider>(dialog, "physicsslider0")->setValue(9000);
        click(dialog, "btn_reset");
        EXPECT_EQ(doors->rowCount(), 4);
        EXPECT_NE(child<QSlider>(dialog, "physicsslider0")->value(), 9000);
        doors->item(0, 0)->setText("20");
        click(dialog, "btn_cancel");
    }));
    EXPECT_EQ(doc, original);
}

TEST(CarEditor, RemapListsTooLongForTheRecordAreRefusedAndTheDialogStaysOpen) {
    StyleDocument doc = sampleWithScript();
    const StyleDocument original = doc;
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    bool stillOpen = false;
    QString keyed;
    EXPECT_FALSE(editWith(dialog, doc, BusSprite, prompts, [&] {
        auto *remaps = child<QPlainTextEdit>(dialog, "remaps");
        remaps->setPlainText("12\n7");
        remaps->moveCursor(QTextCursor::Start);
        // X11 gives Delete the text "\x7f", other platforms none; both delete.
        QTest::sendKeyEvent(QTest::Click, remaps, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, remaps, Qt::Key_Delete, QString(), Qt::NoModifier);
        QTest::keyClicks(remaps, "a5 9");
        QTest::keyClick(remaps, Qt::Key_Backspace);
        keyed = remaps->toPlainText();
        child<QPlainTextEdit>(dialog, "remaps")->setPlainText(QStringList(256, "1").join('\n'));
        click(dialog, "btn_ok");
        stillOpen = dialog.isVisible();
        child<QPlainTextEdit>(dialog, "remaps")->setPlainText("1\nx");
        click(dialog, "btn_ok");
        click(dialog, "btn_cancel");
    }));
    EXPECT_EQ(keyed, "5\n7") << "letters and blanks are no remap";
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].contains("255"));
    EXPECT_EQ(prompts.messages()[1], "'x' is not a valid integer value");
    EXPECT_EQ(doc, original);
}

TEST(CarEditor, SizesAndDoorsTheRecordCannotHoldAreRefusedAndTheDialogsStayOpen) {
    StyleDocument doc = sampleWithScript();
    const ShownDoor door = shownDoor(doc.CarInfoTable[3].doors[0]);
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    QString typedSize;
    bool sizeStayed = false;
    bool editorStayed = false;
    EXPECT_TRUE(editWith(dialog, doc, BusSprite, prompts, [&] {
        auto *sizes = dialog.findChild<Twnd_colsize *>();
        QTimer::singleShot(0, sizes, [&] {
            auto *width = child<QLineEdit>(*sizes, "edit_width");
            width->selectAll();
            QTest::keyClicks(width, "300");
            typedSize = width->text();
            click(*sizes, "btn_ok");
            sizeStayed = sizes->isVisible();
            width->selectAll();
            QTest::keyClicks(width, "200");
            click(*sizes, "btn_ok");
        });
        QTest::mouseDClick(child<QWidget>(dialog, "carprev"), Qt::LeftButton);

        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1);
        auto *doors = child<QTableWidget>(dialog, "doorgrid");
        doors->item(0, 2)->setText("");
        doors->item(0, 0)->setText("70");
        click(dialog, "btn_ok");
        editorStayed = dialog.isVisible();
        doors->item(0, 0)->setText("63");
        click(dialog, "btn_ok");
    }));
    EXPECT_EQ(typedSize, "300");
    EXPECT_TRUE(sizeStayed);
    EXPECT_TRUE(editorStayed);
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_TRUE(prompts.messages()[0].contains("0 to 255")) << prompts.messages()[0].toStdString();
    EXPECT_TRUE(prompts.messages()[1].contains("-63 to 63")) << prompts.messages()[1].toStdString();
    EXPECT_EQ(doc.CarInfoTable[3].w, 200);
    EXPECT_EQ(shownDoor(doc.CarInfoTable[3].doors[0]), (ShownDoor{63, door.y, false}));
}

TEST(CarEditor, TypedValuesPastTheRecordAreRefusedAndOddPhysicsLinesReadByValueOrKept) {
    StyleDocument doc = sampleWithScript();
    const int line = findModelLine(doc.CarScript, 11);
    doc.CarScript[line + 12] = "f5e-1 {thrust}";
    doc.CarScript[line + 8] = "f0,5 {turn in}";
    doc.CarScript[line + 7] = "f2.25E+0  {brake friction}";
    doc.CarScript[line + 2] = "12 {value}";
    const StyleDocument original = doc;
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    const auto edit = [&](int field) {
        return child<QLineEdit>(dialog, QStringLiteral("physicsedit%1").arg(field));
    };
    const auto slider = [&](int field) {
        return child<QSlider>(dialog, QStringLiteral("physicsslider%1").arg(field));
    };
    QStringList refusals;
    EXPECT_TRUE(editWith(dialog, doc, BusSprite, prompts, [&] {
        EXPECT_EQ(slider(Thrust)->value(), 500);
        EXPECT_EQ(slider(BrakeFriction)->value(), 2250);
        EXPECT_EQ(edit(TurnIn)->text(), "0,5") << "an unreadable value shows as written";
        EXPECT_FALSE(slider(TurnIn)->isEnabled());
        EXPECT_TRUE(slider(Thrust)->isEnabled());
        slider(Thrust)->setValue(501);
        EXPECT_EQ(edit(TurnIn)->text(), "0,5") << "another slider's move leaves it alone";
        edit(CarCost)->setText("7x");
        EXPECT_FALSE(slider(CarCost)->isEnabled());

        auto *grid = child<QTableWidget>(dialog, "infogrid");
        grid->item(0, 1)->setText("268");
        grid->item(1, 1)->setText("300");
        click(dialog, "btn_ok");
        grid->item(0, 1)->setText("12");
        click(dialog, "btn_ok");
        grid->item(1, 1)->setText("-1");
        click(dialog, "btn_ok");
        grid->item(1, 1)->setText("255");
        click(dialog, "btn_ok");
        edit(CarCost)->setText("20");
        EXPECT_TRUE(slider(CarCost)->isEnabled());
        child<QPlainTextEdit>(dialog, "remaps")->setPlainText("3\n256");
        click(dialog, "btn_ok");
        refusals = prompts.messages();
        EXPECT_EQ(doc, original) << "a refused Ok stores nothing";
        child<QPlainTextEdit>(dialog, "remaps")->setPlainText("3\n255");
        click(dialog, "btn_ok");
    }));
    EXPECT_EQ(refusals,
              QStringList({"The model must be 0 to 255, not 268.", "Passengers must be 0 to 255, not 300.",
                           "Passengers must be 0 to 255, not -1.", "car cost: '7x' is not a valid number",
                           "Remap 2 must be 0 to 255, not 256."}));
    const CarInfoRecord &car = doc.CarInfoTable[3];
    EXPECT_EQ(car.model, 12);
    EXPECT_EQ(car.passengers, 255);
    ASSERT_EQ(car.num_remaps, 2);
    EXPECT_EQ(car.remap[1], 255);
    QStringList expected = original.CarScript;
    expected[line + 12] = "f0.501 {thrust}";
    expected[line + 2] = "20 {value}";
    EXPECT_EQ(doc.CarScript, expected) << "only the moved values are written; the unreadable line stays";
}

TEST(CarEditor, ACarWithoutPhysicsBlockEditsOnlyItsRecord) {
    StyleDocument doc = sampleWithScript();
    doc.CarScript.replace(findModelLine(doc.CarScript, 11), "011 {model}");
    const QStringList script = doc.CarScript;
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    EXPECT_TRUE(editWith(dialog, doc, BusSprite, prompts, [&] {
        EXPECT_FALSE(child<QTabWidget>(dialog, "PageControl1")->isTabVisible(4));
        child<QTableWidget>(dialog, "infogrid")->item(1, 1)->setText("9");
        click(dialog, "btn_ok");
    }));
    EXPECT_EQ(doc.CarInfoTable[3].passengers, 9);
    EXPECT_EQ(doc.CarScript, script);
}

TEST(CarEditor, SubModelsAreChosenAndSpritesWithoutACarRefused) {
    StyleDocument doc = sampleWithScript();
    ScriptedPrompts prompts;
    Twnd_caredit dialog;
    QStringList submodelEntries;
    QTimer::singleShot(0, &dialog, [&] {
        auto *chooser = dialog.findChild<Twnd_submodels *>();
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), "Submodel");
        auto *list = child<QListWidget>(*chooser, "ListBox1");
        for (int k = 0; k < list->count(); ++k)
            submodelEntries << list->item(k)->text();
        list->setCurrentRow(1);
        QTimer::singleShot(0, &dialog, [&] {
            EXPECT_EQ(child<QLabel>(dialog, "scriptname")->text(), "script car name: STRATOSB");
            child<QTableWidget>(dialog, "infogrid")->item(1, 1)->setText("5");
            click(dialog, "btn_ok");
        });
        click(*chooser, "btn_ok");
    });
    EXPECT_TRUE(dialog.editCar(doc, 4, prompts));
    EXPECT_EQ(submodelEntries, QStringList({"0", "1"}));
    EXPECT_EQ(doc.CarInfoTable[5].passengers, 5);

    const StyleDocument before = doc;
    doc.SpriteBases[SprCar] = 40;
    EXPECT_FALSE(dialog.editCar(doc, 30, prompts));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains("30")) << prompts.messages()[0].toStdString();
    EXPECT_FALSE(dialog.editCar(doc, 45, prompts)) << "no car sprite";
    EXPECT_EQ(prompts.messages().size(), 1);
}

TEST(CarEditor, EditedStyleAndScriptReadBackWithExactlyTheChanges) {
    TestDir dir;
    ScriptedPrompts prompts;
    SilentProgress progress;
    LineLog log;
    StyleDocument sample = makeSampleStyle();
    ASSERT_FALSE(writeStyle(sample, dir.path("city.sty"), prompts, progress, log).isEmpty());
    writeWholeFileAtomic(dir.path("nyc.gci"), carScriptBytes(makeSampleCarScript(sample)));

    StyleDocument doc;
    ASSERT_TRUE(opensty(doc, dir.path("city.sty"), prompts, progress, log));
    QString gciName;
    ASSERT_TRUE(loadCompanionScript(doc.CarScript, gciName, dir.path("city.sty"), log));
    Twnd_caredit dialog;
    ASSERT_TRUE(editWith(dialog, doc, BusSprite, prompts, [&] {
        child<QLineEdit>(dialog, QStringLiteral("physicsedit%1").arg(Mass))->setText("42.125");
        auto *doors = child<QTableWidget>(dialog, "doorgrid");
        doors->setCurrentCell(2, 0);
        click(dialog, "btn_mirrorprevious");
        click(dialog, "btn_ok");
    }));
    StyleDocument expected = doc;
    prompts.queueText(gciName);
    ASSERT_EQ(saveGci(doc.CarScript, gciName, prompts), dir.path("nyc.gci"));
    ASSERT_FALSE(writeStyle(doc, dir.path("city.sty"), prompts, progress, log).isEmpty());

    StyleDocument reread;
    ASSERT_TRUE(opensty(reread, dir.path("city.sty"), prompts, progress, log));
    const CarInfoRecord &bus = reread.CarInfoTable[3];
    const CarInfoRecord &before = sample.CarInfoTable[3];
    EXPECT_EQ(shownDoor(bus.doors[2]),
              (ShownDoor{-std::abs(shownDoor(before.doors[1]).x), shownDoor(before.doors[1]).y,
                         shownDoor(before.doors[1]).walkIn}));
    CarInfoRecord onlyDoor = before;
    onlyDoor.doors[2] = bus.doors[2];
    onlyDoor.rating = ratingValue(ratingEntry(before.rating)); // the list writes one value per entry
    EXPECT_EQ(bus, onlyDoor);
    EXPECT_EQ(reread.RecycleList, sample.RecycleList);

    const QStringList script = carScriptLines(readWholeFile(dir.path("nyc.gci")));
    QStringList wanted = makeSampleCarScript(sample);
    wanted[findModelLine(wanted, 11) + 4] = "f42.125 {mass}";
    ASSERT_GT(script.size(), 5);
    EXPECT_EQ(script.mid(5), wanted.mid(4)) << "the new header replaces the old one";
    EXPECT_EQ(script[0], "{**********************");
}

} // namespace
