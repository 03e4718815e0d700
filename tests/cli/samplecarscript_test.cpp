#include "sample/samplestyle.h"
#include "style/carscriptnames.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr int BlockLines = 22;

// The comments of lines 4 to 20 after the model line, in the order the car editor rewrites them.
const QStringList FractionComments = {
    "mass",          "front drive bias",   "front mass bias",       "brake friction",   "turn in",
    "turn rato",     "rear end stability", "handbrake slide value", "thrust",           "max_speed",
    "anti strength", "skid threshhold",    "gear1 multiplier",      "gear2 multiplier", "gear3 multiplier",
    "gear2 speed",   "gear3 speed"};

void expectBlocksFor(const StyleDocument &doc) {
    const QStringList script = makeSampleCarScript(doc);
    const int header = static_cast<int>(script.indexOf(QString()));
    ASSERT_GT(header, 1) << "the header comment ends at the first empty line";
    EXPECT_TRUE(script[0].startsWith('{'));
    EXPECT_TRUE(script[header - 1].endsWith('}'));
    ASSERT_EQ(script.size(), header + 1 + BlockLines * doc.CarCount());

    const QRegularExpression fraction(QStringLiteral("^f(\\d+)\\.\\d{3} \\{(.+)\\}$"));
    for (const CarInfoRecord &car : doc.CarInfoTable) {
        const QString modelLine = QStringLiteral("%1 {model}").arg(car.model);
        const int l = static_cast<int>(script.indexOf(modelLine));
        ASSERT_GT(l, header) << modelLine.toStdString();
        EXPECT_EQ(script.lastIndexOf(modelLine), l) << "one block per model";
        const QString name = car.model < static_cast<int>(ScriptNames.size())
                                 ? QString::fromLatin1(ScriptNames[car.model])
                                 : QStringLiteral("CAR%1").arg(car.model);
        EXPECT_EQ(script[l - 1], "{" + name + "}");
        EXPECT_TRUE(script[l + 1] == "0 {turbo}" || script[l + 1] == "1 {turbo}")
            << script[l + 1].toStdString();
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\d{1,3} \\{value\\}$")).match(script[l + 2]).hasMatch());
        for (int k = 0; k < FractionComments.size(); ++k) {
            const QString &line = script[l + 4 + k];
            const QRegularExpressionMatch m = fraction.match(line);
            ASSERT_TRUE(m.hasMatch()) << line.toStdString();
            EXPECT_EQ(m.captured(2), FractionComments[k]);
            EXPECT_LE(m.captured(1).toInt(), k == 0 ? 128 : 4) << line.toStdString(); // within the sliders
        }
    }
}

TEST(SampleCarScript, HoldsOnePhysicsBlockPerCar) {
    expectBlocksFor(makeSampleStyle());
}

TEST(SampleCarScript, NamesModelsPastTheNameTable) {
    expectBlocksFor(makeLargeSampleStyle());
}

} // namespace
