#include "folder/folderpalettes.h"

#include "folder/folderlayout.h"
#include "folder/folderpng.h"
#include "palette/jascpalette.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/sha1digest.h"

#include <array>
#include <optional>
#include <vector>

namespace {

constexpr int JascHeaderLines = 3;

// Three whole numbers of 0 to 255 between blanks: anything else would be taken as its low bits.
std::optional<std::array<int, 3>> colourLine(const QByteArray &line) {
    std::array<int, 3> rgb{};
    std::size_t fields = 0;
    for (qsizetype at = 0; at < line.size();) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        if (fields == rgb.size())
            return std::nullopt;
        int value = 0, digits = 0;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9' && digits < 4; ++at, ++digits)
            value = 10 * value + (line[at] - '0');
        if (digits == 0 || value > 255 || (at < line.size() && line[at] != ' ' && line[at] != '\t'))
            return std::nullopt;
        rgb[fields++] = value;
    }
    return fields == rgb.size() ? std::optional(rgb) : std::nullopt;
}

QList<QRgb> jascColours(const QByteArray &bytes, const QString &name) {
    const QList<QByteArray> lines = textLines(bytes);
    if (lines.size() < JascHeaderLines || lines[0] != "JASC-PAL" || lines[2] != "256")
        throw EditorError(QStringLiteral("%1: line 1 to 3: not the start of a 256-colour JASC palette "
                                         "(JASC-PAL, 0100, 256); nothing was written.")
                              .arg(name));
    if (lines.size() < JascHeaderLines + 256)
        throw EditorError(QStringLiteral("%1: line %2: the palette ends after %3 of its 256 colours; nothing "
                                         "was written.")
                              .arg(name)
                              .arg(lines.size() + 1)
                              .arg(lines.size() - JascHeaderLines));
    QList<QRgb> colours;
    for (int c = 0; c < 256; ++c) {
        const std::optional<std::array<int, 3>> rgb = colourLine(lines[JascHeaderLines + c]);
        if (!rgb)
            throw EditorError(
                QStringLiteral("%1: line %2: \"%3\" is not three numbers of 0 to 255 (red green "
                               "blue); nothing was written.")
                    .arg(name)
                    .arg(JascHeaderLines + c + 1)
                    .arg(QString::fromLatin1(lines[JascHeaderLines + c])));
        colours.append(qRgb((*rgb)[0], (*rgb)[1], (*rgb)[2]));
    }
    return colours;
}

// Every offset of the chunk the file holds that belongs to a slot past the count, in order.
template <typename Visit> void visitBeyondBytes(int count, Visit visit) {
    for (int at = 0; at < count * PaletteBytes; ++at)
        if ((at / PageBytes) * PalettesPerPage + (at % PageSide) / 4 >= count)
            visit(at);
}

} // namespace

QString paletteCheck(const QList<QRgb> &colours) {
    QByteArray rgb(3 * 256, '\0');
    for (int c = 0; c < 256 && c < colours.size(); ++c) {
        rgb[3 * c] = char(qRed(colours[c]));
        rgb[3 * c + 1] = char(qGreen(colours[c]));
        rgb[3 * c + 2] = char(qBlue(colours[c]));
    }
    Sha1Digest hash;
    hash.addData(rgb);
    return QString::fromLatin1(hash.result().left(8).toHex());
}

QStringList paletteChecks(const StyleDocument &doc) {
    QStringList checks;
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p)
        checks.append(paletteCheck(ClutToPal(doc, p)));
    return checks;
}

void addPaletteFiles(const StyleDocument &doc, const FileSink &files) {
    if (doc.PhysicalPaletteCount == 0)
        return;
    const QImage table = makeClut1(doc);
    files(PaletteTableName, madeFromPicture(table, QByteArrayLiteral("colour PNG")),
          [table] { return colourPngBytes(table, PaletteTableName); });
    for (int p = 0; p < doc.PhysicalPaletteCount; ++p) {
        QByteArray colours = QByteArrayLiteral("JASC palette");
        for (int c = 0; c < 256; ++c) {
            const quint32 colour = directclutacces(doc, p, c, false);
            colours.append(reinterpret_cast<const char *>(&colour), sizeof colour);
        }
        files(palettePalName(p), madeFromBytes(colours), [&doc, p] { return jascPaletteText(doc, p); });
    }
    QByteArray beyond;
    visitBeyondBytes(doc.PhysicalPaletteCount, [&](int at) { beyond += doc.PhysicalPalettes[at]; });
    if (!beyond.isEmpty())
        files(PalettesBeyondName, beyond);
}

void readPaletteFiles(const FolderSource &source, const QStringList &checks, StyleDocument &doc) {
    const int count = doc.PhysicalPaletteCount;
    if (count == 0)
        return;
    const QImage table = readColourPng(requiredFile(source, PaletteTableName), PaletteTableName);
    if (table.width() != count || table.height() != 256)
        throw EditorError(QStringLiteral("%1: the picture is %2*%3 pixels; style.json's physical_palettes "
                                         "asks for %4*256; nothing was written.")
                              .arg(PaletteTableName)
                              .arg(table.width())
                              .arg(table.height())
                              .arg(count));
    // Column p of the picture is palette p; rows are colours.
    std::vector<QList<QRgb>> columns(std::size_t(count), QList<QRgb>(256));
    for (int c = 0; c < 256; ++c) {
        const auto *row = reinterpret_cast<const QRgb *>(table.constScanLine(c));
        for (int p = 0; p < count; ++p)
            columns[std::size_t(p)][c] = row[p];
    }
    for (int p = 0; p < count; ++p) {
        const QList<QRgb> &pictured = columns[std::size_t(p)];
        const QString name = palettePalName(p);
        const QList<QRgb> text = jascColours(requiredFile(source, name), name);
        const QString unpacked = p < checks.size() ? checks[p] : QString();
        const bool pictureChanged = paletteCheck(pictured) != unpacked;
        const bool textChanged = paletteCheck(text) != unpacked;
        if (pictureChanged && textChanged && paletteCheck(pictured) != paletteCheck(text))
            throw EditorError(
                QStringLiteral("%1 and column %2 of %3 change palette %2 differently; keep one of "
                               "the changes; nothing was written.")
                    .arg(name)
                    .arg(p)
                    .arg(PaletteTableName));
        const QList<QRgb> &colours = pictureChanged && !textChanged ? pictured : text;
        for (int c = 0; c < 256; ++c)
            writetoclut(doc, p, c, fromRgb(colours[c]));
    }
    qsizetype expected = 0;
    visitBeyondBytes(count, [&](int) { ++expected; });
    if (expected == 0)
        return;
    const QByteArray beyond = requiredFile(source, PalettesBeyondName);
    if (beyond.size() != expected)
        throw EditorError(
            QStringLiteral("%1: %2 bytes; %3 palettes leave %4 bytes of their last page; nothing "
                           "was written.")
                .arg(PalettesBeyondName)
                .arg(beyond.size())
                .arg(count)
                .arg(expected));
    qsizetype next = 0;
    visitBeyondBytes(count, [&](int at) { doc.PhysicalPalettes[at] = beyond[next++]; });
}
