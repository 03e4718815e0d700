#include "palette/palettecolouredit.h"

#include "palette/palettelookup.h"
#include "platform/prompts.h"

#include <QRegularExpression>

bool editPaletteColour(StyleDocument &doc, int palette, int colour, Prompts &prompts) {
    if (!isStoredPalette(palette) || palette >= doc.PhysicalPaletteCount || !inRange(0, 256, colour)) {
        prompts.message(
            QStringLiteral("There is no colour %1 of palette %2 to edit.").arg(colour).arg(palette));
        return false;
    }
    const quint32 old = directclutacces(doc, palette, colour, false);
    const QString preset = QStringLiteral("%1,%2,%3").arg(redOf(old)).arg(greenOf(old)).arg(blueOf(old));
    const std::optional<QString> answer = prompts.inputBox(
        EditColourCaption,
        QStringLiteral("colour %1 of palette %2 as red,green,blue:").arg(colour).arg(palette), preset);
    if (!answer)
        return false;
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*,\\s*(\\d{1,3})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(*answer);
    int parts[3] = {-1, -1, -1};
    for (int i = 0; match.hasMatch() && i < 3; ++i)
        parts[i] = match.captured(i + 1).toInt();
    if (!match.hasMatch() || parts[0] > 255 || parts[1] > 255 || parts[2] > 255) {
        prompts.message(QStringLiteral("\"%1\" is no colour: give red, green and blue from 0 to 255, such as "
                                       "255,128,0.")
                            .arg(*answer));
        return false;
    }
    const quint32 value = colourValue(parts[0], parts[1], parts[2]);
    if (value == old)
        return false;
    writetoclut(doc, palette, colour, value);
    return true;
}
