#include "cars/carphysics.h"
#include "cars/carscript.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "sample/samplestyle.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QStringList numberedLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines;
}

const QStringList Header = {"{**", "new", "**}"};

TEST(CarScriptRules, ValueAndNameRules) {
    EXPECT_EQ(scriptValue("f1.500 {mass}"), "1.500");
    EXPECT_EQ(scriptValue("0 {turbo}"), "0");
    EXPECT_EQ(scriptValue("f1.500  {mass}"), "1.500 ") << "two blanks keep one";
    EXPECT_EQ(scriptValue("f1.500"), "") << "no brace, no value";
    EXPECT_EQ(scriptValue("{x} 12 {value}"), "{x} 12") << "the last brace counts";
    EXPECT_EQ(scriptValue(" {x}"), "");
    EXPECT_EQ(scriptName("{ALFA}"), "ALFA");
    EXPECT_EQ(scriptName("{}"), "");
    EXPECT_EQ(scriptName(""), "");
}

TEST(CarScriptRules, ModelLinesMatchOnlyTheExactTextInAnyCase) {
    const QStringList script = {"{x}",         "12  {model}", "012 {model}",
                                " 12 {model}", "12 {MODEL}",  "12 {model}"};
    EXPECT_EQ(findModelLine(script, 12), 4);
    EXPECT_EQ(findModelLine({"x", "12  {model}", "012 {model}"}, 12), -1);
    EXPECT_EQ(findModelLine({"12 {model}"}, 12), -1) << "a script of one line holds no cars";
}

TEST(CarScriptRules, PhysicsBlocksThatDoNotFitAreNoBlocks) {
    ScriptedPrompts prompts;
    QStringList script = makeSampleCarScript(makeSampleStyle());
    const int line = physicsBlockLine(script, 12, prompts);
    EXPECT_EQ(script[line], "12 {model}");
    EXPECT_TRUE(prompts.messages().isEmpty());

    QStringList cut = script.mid(0, line + 20);
    EXPECT_EQ(physicsBlockLine(cut, 12, prompts), -1);
    QStringList first = {"7 {model}"};
    first << numberedLines(25);
    EXPECT_EQ(physicsBlockLine(first, 7, prompts), -1) << "no room for the name line";
    EXPECT_EQ(prompts.messages(),
              QStringList({"car 12 is missing in gci, please fix the problem and try again.",
                           "car 7 is missing in gci, please fix the problem and try again."}));
    EXPECT_THROW(readPhysics(cut, line), EditorError);
    EXPECT_THROW(writePhysics(cut, line, {}), EditorError);
}

TEST(CarScriptRules, PhysicsBlockReadsAndWritesItsLines) {
    QStringList script = makeSampleCarScript(makeSampleStyle());
    ScriptedPrompts prompts;
    const int line = physicsBlockLine(script, 56, prompts);
    const CarPhysics read = readPhysics(script, line);
    EXPECT_EQ(read.name, "TAXI");
    EXPECT_EQ(read.values[CarCostField], scriptValue(script[line + 2]));
    EXPECT_EQ(read.values[0], scriptValue(script[line + 4])) << "mass";

    PhysicsSettings settings;
    for (int k = 0; k < PhysicsFieldCount; ++k)
        settings.positions[static_cast<std::size_t>(k)] = PhysicsFields[static_cast<std::size_t>(k)].minimum;
    settings.positions[0] = 1500;
    settings.positions[1] = 0;
    settings.positions[CarCostField] = 77;
    settings.turbo = true;
    settings.name = "CAB";
    const QStringList before = script;
    writePhysics(script, line, settings);
    EXPECT_EQ(script[line - 1], "{CAB}");
    EXPECT_EQ(script[line], "56 {model}");
    EXPECT_EQ(script[line + 1], "1 {turbo}");
    EXPECT_EQ(script[line + 2], "77 {value}");
    EXPECT_EQ(script[line + 3], before[line + 3]) << "never written";
    EXPECT_EQ(script[line + 4], "f1.500 {mass}");
    EXPECT_EQ(script[line + 12], "f0.000 {thrust}");
    EXPECT_EQ(script[line + 9], "f0.001 {turn rato}");
    EXPECT_EQ(script[line + 19], "f0.000 {gear2 speed}");
    EXPECT_EQ(script[line + 21], before[line + 21]) << "the next car's name";
    EXPECT_EQ(readPhysics(script, line).values[0], "1.500");

    // Only the lines whose value changed are written; "f0.5" and "f1.50" stay as the script has them.
    script[line + 12] = "f0.5 {thrust}";
    script[line + 4] = "f1.50 {mass}";
    PhysicsSettings shown = settings;
    shown.positions[1] = 500;
    PhysicsSettings changed = shown;
    changed.positions[CarCostField] = 78;
    QStringList wanted = script;
    writeChangedPhysics(script, line, shown, changed);
    wanted[line + 2] = "78 {value}";
    EXPECT_EQ(script, wanted);
}

TEST(CarScriptRules, SliderAndEditConversions) {
    EXPECT_EQ(sliderToEdit(0, 1500), "1.500");
    EXPECT_EQ(sliderToEdit(0, 5), "0.005");
    EXPECT_EQ(sliderToEdit(0, 128000), "128.000");
    EXPECT_EQ(sliderToEdit(1, 0), "0.000");
    EXPECT_EQ(sliderToEdit(CarCostField, 5), "5");
    // Read by its value, however many decimals the script wrote.
    EXPECT_EQ(editToSlider(0, "1.5"), 1500);
    EXPECT_EQ(editToSlider(1, "0.5"), 500);
    EXPECT_EQ(editToSlider(1, ".25"), 250);
    EXPECT_EQ(editToSlider(0, "12"), 12000);
    EXPECT_EQ(editToSlider(1, "0.0005"), 1) << "a fourth decimal rounds";
    EXPECT_EQ(editToSlider(1, "-0.5"), 0);
    EXPECT_THROW(editToSlider(1, "."), EditorError);
    EXPECT_THROW(editToSlider(1, "1.2.3"), EditorError);
    EXPECT_EQ(editToSlider(1, "0.250"), 250);
    EXPECT_EQ(editToSlider(0, "0.500"), 1000) << "kept in the slider's range";
    EXPECT_EQ(editToSlider(4, "9.000"), 4000);
    EXPECT_EQ(editToSlider(CarCostField, "300"), 255);
    EXPECT_THROW(editToSlider(1, "1,5"), EditorError);
    EXPECT_THROW(editToSlider(CarCostField, "1.5"), EditorError) << "the car cost takes no point";
    EXPECT_THROW(editToSlider(1, ""), EditorError);
}

TEST(CarScriptFile, HeaderRewriteKeepsTheBody) {
    QStringList script = {"{old", "header}", "", "body"};
    rewriteCarScriptHeader(script, Header);
    EXPECT_EQ(script, QStringList({"{**", "new", "**}", "", "body"}));
    rewriteCarScriptHeader(script, Header);
    EXPECT_EQ(script, QStringList({"{**", "new", "**}", "", "body"})) << "twice gives one header";

    QStringList leadingEmpty = {"", "a"};
    rewriteCarScriptHeader(leadingEmpty, Header);
    EXPECT_EQ(leadingEmpty, QStringList({"{**", "new", "**}", "", "a"}));

    QStringList noEmptyLine = {"a", "b"};
    rewriteCarScriptHeader(noEmptyLine, Header);
    EXPECT_EQ(noEmptyLine, QStringList({"{**", "new", "**}", "a", "b"})) << "nothing of the text is lost";
}

TEST(CarScriptFile, HeaderNamesUserMachineProgramAndTime) {
    const QStringList header =
        carScriptHeader("ann", "box", "prog", QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)));
    ASSERT_EQ(header.size(), 5);
    EXPECT_EQ(header[0], "{**********************");
    EXPECT_EQ(header[1], "Generated By : ann with prog");
    EXPECT_EQ(header[2], "Generated On Machine : box");
    EXPECT_TRUE(header[3].startsWith("Generated on ")) << header[3].toStdString();
    EXPECT_TRUE(header[3].endsWith(" at 14:05:07")) << header[3].toStdString();
    EXPECT_EQ(header[4], "**********************}");
}

TEST(CarScriptFile, SaveNeedsTenLinesAndWritesGciWithCrLf) {
    TestDir dir;
    ScriptedPrompts prompts;
    QString defaultName = "nyc.gci";
    QStringList nine = numberedLines(9);
    EXPECT_TRUE(saveGci(nine, defaultName, prompts).isEmpty());
    EXPECT_TRUE(prompts.shown().isEmpty()) << "no dialog for a short text";

    QStringList script = QStringList{"{old}", ""} + numberedLines(8);
    prompts.queueText(dir.path("cars.txt"));
    const QString written = saveGci(script, defaultName, prompts);
    EXPECT_EQ(written, dir.path("cars.gci"));
    EXPECT_EQ(prompts.presets(), QStringList{"nyc.gci"});
    EXPECT_EQ(defaultName, written);
    ASSERT_EQ(script.size(), 14) << "one old header line replaced by five";
    EXPECT_EQ(script[5], "");
    const QByteArray bytes = readWholeFile(written);
    EXPECT_TRUE(bytes.endsWith("line 7\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 14);
    EXPECT_EQ(carScriptLines(bytes), script);
}

TEST(CarScriptFile, SaveOverwritesAReadOnlyFile) {
    TestDir dir;
    const QString target = dir.path("nyc.gci");
    writeWholeFileAtomic(target, "old");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    QStringList script = numberedLines(12);
    ScriptedPrompts prompts;
    prompts.queueText(target);
    QString defaultName;
    EXPECT_EQ(saveGci(script, defaultName, prompts), target);
    EXPECT_EQ(carScriptLines(readWholeFile(target)), script);
    EXPECT_EQ(script.size(), 17) << "a text without an empty line is kept whole";
}

TEST(CarScriptFile, OpenAndCompanionLoad) {
    TestDir dir;
    writeWholeFileAtomic(dir.path("nyc.gci"), "a\r\nb\nc\r\n");
    QStringList script = {"old"};
    QString defaultName = "before";
    LineLog log;
    EXPECT_FALSE(loadCompanionScript(script, defaultName, dir.path("missing/x.sty"), log));
    EXPECT_EQ(script, QStringList{"old"});
    EXPECT_EQ(defaultName, "before");
    EXPECT_TRUE(loadCompanionScript(script, defaultName, dir.path("x.sty"), log));
    EXPECT_EQ(script, QStringList({"a", "b", "c"}));
    EXPECT_EQ(defaultName, dir.path("nyc.gci"));

    ScriptedPrompts prompts;
    prompts.queueText(dir.path("none.gci"));
    EXPECT_FALSE(openGci(script, defaultName, prompts));
    EXPECT_EQ(prompts.messages().size(), 1) << "the read error is shown";
    EXPECT_EQ(script, QStringList({"a", "b", "c"}));
    writeWholeFileAtomic(dir.path("other.gci"), "x\r\n\r\ny");
    prompts.queueText(dir.path("other.gci"));
    EXPECT_TRUE(openGci(script, defaultName, prompts));
    EXPECT_EQ(script, QStringList({"x", "", "y"}));
    EXPECT_EQ(defaultName, dir.path("other.gci"));
}

} // namespace
