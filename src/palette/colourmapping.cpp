#include "colourmapping.h"

#include "imagememory.h"
#include "log.h"
#include "palettelookup.h"
#include "prompts.h"

#include <QSet>
#include <array>
#include <limits>
#include <numeric>

namespace {

constexpr int Entries = 256;
using Counts = std::array<qint64, Entries>;

// Only red, green and blue count; a colour table's alpha byte means nothing to the palettes.
QRgb opaque(QRgb colour) {
    return colour | 0xFF000000u;
}

QString colourName(QRgb colour) {
    return QStringLiteral("#%1").arg(colour & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

Counts pixelCounts(const QImage &indexed8) {
    Counts counts{};
    for (int y = 0; y < indexed8.height(); ++y) {
        const uchar *line = indexed8.constScanLine(y);
        for (int x = 0; x < indexed8.width(); ++x)
            ++counts[line[x]];
    }
    return counts;
}

QList<int> entriesHolding(const QList<QRgb> &colours, QRgb colour) {
    QList<int> entries;
    for (int i = 0; i < colours.size(); ++i)
        if (opaque(colours[i]) == colour)
            entries.append(i);
    return entries;
}

// Colour 0 is the transparent one, so it is taken only when no other entry will do.
std::optional<int> entryFor(const QList<int> &holding, int own) {
    if (holding.isEmpty())
        return std::nullopt;
    if (holding.contains(own))
        return own;
    return holding.size() > 1 && holding[0] == 0 ? holding[1] : holding[0];
}

qint64 distance(QRgb a, QRgb b) {
    const qint64 red = qRed(a) - qRed(b);
    const qint64 green = qGreen(a) - qGreen(b);
    const qint64 blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

int nearestEntry(const QList<QRgb> &colours, QRgb colour) {
    int best = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int i = 1; i < colours.size(); ++i) {
        if (const qint64 d = distance(colours[i], colour); d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return distance(colours[0], colour) < bestDistance ? 0 : best;
}

QString counted(qint64 count, const QString &one, const QString &many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

} // namespace

ColourTarget paletteTarget(const StyleDocument &doc, int palette, const QString &graphic) {
    return {ClutToPal(doc, palette), QStringLiteral("palette %1").arg(palette), graphic};
}

std::optional<QImage> matchColours(const LoadedBitmap &bitmap, const QString &file,
                                   const ColourTarget &target, Prompts &prompts, Log &log) {
    const QImage &pixels = bitmap.image;
    const Counts counts = pixelCounts(pixels);
    const int fileColours = std::min<int>({bitmap.fileColours, Entries, int(target.colours.size())});
    std::array<uchar, Entries> lookup;
    std::iota(lookup.begin(), lookup.end(), 0);
    QList<int> missing;
    QSet<QRgb> missingColours;
    qint64 missingPixels = 0;
    bool renumbered = false;
    for (int i = 0; i < fileColours; ++i) {
        const QRgb colour = opaque(pixels.color(i));
        if (counts[i] == 0 || opaque(target.colours[i]) == colour)
            continue;
        if (const std::optional<int> entry = entryFor(entriesHolding(target.colours, colour), i)) {
            lookup[i] = uchar(*entry);
            renumbered = true;
        } else {
            missing.append(i);
            missingColours.insert(colour);
            missingPixels += counts[i];
        }
    }
    if (!renumbered && missing.isEmpty())
        return pixels;

    const QString prefix = target.graphic + QStringLiteral(": ");
    if (!missing.isEmpty()) {
        const QString lacking =
            QStringLiteral("%1 (%2) that \"%3\" uses %4 not in %5, which shows %6.")
                .arg(counted(missingColours.size(), QStringLiteral("colour"), QStringLiteral("colours")),
                     counted(missingPixels, QStringLiteral("pixel"), QStringLiteral("pixels")), file,
                     missingColours.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                     target.palette, target.graphic);
        switch (prompts.missingColours(lacking)) {
        case MissingColoursAnswer::Cancel:
            return std::nullopt;
        case MissingColoursAnswer::KeepIndexes:
            log.append(prefix + QStringLiteral("the stored indexes of \"%1\" were kept; ").arg(file) +
                       lacking);
            return pixels;
        case MissingColoursAnswer::Nearest:
            for (int i : missing)
                lookup[i] = uchar(nearestEntry(target.colours, opaque(pixels.color(i))));
            log.append(
                prefix +
                QStringLiteral("%1 of %2 missing from %3 took the nearest colours.")
                    .arg(counted(missingPixels, QStringLiteral("pixel"), QStringLiteral("pixels")),
                         counted(missingColours.size(), QStringLiteral("colour"), QStringLiteral("colours")),
                         target.palette));
            break;
        }
    }

    qint64 moved = 0;
    for (int i = 0; i < fileColours; ++i) {
        if (counts[i] == 0)
            continue;
        if (lookup[i] != i)
            moved += counts[i];
        const QRgb shown = opaque(target.colours[lookup[i]]);
        const qsizetype holders = entriesHolding(target.colours, shown).size();
        if (holders > 1)
            log.append(prefix +
                       QStringLiteral("%1 of colour %2 (index %3 in the file) took entry %4 of %5, one "
                                      "of %6 entries holding that colour.")
                           .arg(counted(counts[i], QStringLiteral("pixel"), QStringLiteral("pixels")),
                                colourName(shown))
                           .arg(i)
                           .arg(lookup[i])
                           .arg(target.palette)
                           .arg(holders));
    }
    log.append(prefix + QStringLiteral("the colours of \"%1\" were matched to %2; %3 took another index.")
                            .arg(file, target.palette,
                                 counted(moved, QStringLiteral("pixel"), QStringLiteral("pixels"))));

    QImage mapped = makeImage(pixels.size(), QImage::Format_Indexed8);
    mapped.setColorTable(target.colours);
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *from = pixels.constScanLine(y);
        uchar *to = mapped.scanLine(y);
        for (int x = 0; x < pixels.width(); ++x)
            to[x] = lookup[from[x]];
    }
    return mapped;
}
