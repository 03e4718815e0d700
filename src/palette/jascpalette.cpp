#include "palette/jascpalette.h"

#include "palette/palettelookup.h"
#include "platform/fileio.h"
#include "platform/prompts.h"

#include <array>
#include <cstdio>
#include <iterator>

namespace {

constexpr int HeaderLines = 3;

// Low 8 bits of the signed number `field` starts with. Unsigned arithmetic wraps instead of
// overflowing, and wrapping keeps the low bits exact.
int fieldValue(const QByteArray &field) {
    qsizetype i = 0;
    const bool negative = !field.isEmpty() && field[0] == '-';
    if (!field.isEmpty() && (field[0] == '-' || field[0] == '+'))
        ++i;
    quint32 value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10 + quint32(field[i] - '0');
    return int((negative ? 0u - value : value) & 0xff);
}

} // namespace

QByteArray jascPaletteText(const StyleDocument &doc, int palette) {
    QByteArray text = "JASC-PAL\r\n0100\r\n256\r\n";
    text.reserve(text.size() + 256 * std::size("255 255 255\r\n"));
    for (int c = 0; c < 256; ++c) {
        const quint32 v = directclutacces(doc, palette, c, false);
        char line[16];
        text.append(line, std::snprintf(line, sizeof line, "%d %d %d\r\n", redOf(v), greenOf(v), blueOf(v)));
    }
    return text;
}

QList<QByteArray> textLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << bytes.mid(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

quint32 jascColour(const QByteArray &line) {
    std::array<int, 3> rgb{};
    std::size_t index = 0;
    QByteArray field;
    bool begun = false;
    const auto endField = [&] {
        if (index < rgb.size())
            rgb[index++] = fieldValue(field);
        field.clear();
        begun = false;
    };
    for (const char ch : line) {
        if (ch == ' ' || ch == '\t') {
            if (begun)
                endField();
        } else if (ch == ',') {
            endField();
        } else if (uchar(ch) >= 0x20) {
            field += ch;
            begun = true;
        }
    }
    if (begun)
        endField();
    return colourValue(rgb[0], rgb[1], rgb[2]);
}

QString exportJascPalette(const StyleDocument &doc, Prompts &prompts) {
    const std::optional<QString> chosen = prompts.saveFileName(FileKind::Palette, JascFilter, QString());
    if (!chosen)
        return QString();
    const std::optional<int> palette = pickStoredPalette(doc, QStringLiteral("0"), prompts);
    if (!palette)
        return QString();
    const QString path = withExtension(*chosen, QStringLiteral(".pal"));
    writeWholeFileAtomic(path, jascPaletteText(doc, *palette));
    return path;
}

bool importJascPalette(StyleDocument &doc, Prompts &prompts) {
    const std::optional<QString> chosen = prompts.openFileName(FileKind::Palette, JascFilter, QString());
    return chosen && importJascPalette(doc, *chosen, prompts);
}

bool importJascPalette(StyleDocument &doc, const QString &path, Prompts &prompts) {
    const QList<QByteArray> lines = textLines(readWholeFile(path));
    if (lines.size() < HeaderLines) {
        prompts.message(QStringLiteral("The palette file ends before its third line."));
        return false;
    }
    if (lines[0] != "JASC-PAL" || lines[2] != "256") {
        prompts.message(
            QStringLiteral("This is not a 256-color jasc palette.. it looks more like weed to me."));
        return false;
    }
    const std::optional<int> palette = pickStoredPalette(doc, QStringLiteral("0"), prompts);
    if (!palette)
        return false;
    for (int c = 0; c < 256; ++c) {
        if (HeaderLines + c >= lines.size()) {
            prompts.message(QStringLiteral("The palette file ends after %1 of its 256 colours; "
                                           "only those were imported.")
                                .arg(c));
            return c > 0;
        }
        writetoclut(doc, *palette, c, jascColour(lines[HeaderLines + c]));
    }
    return true;
}
