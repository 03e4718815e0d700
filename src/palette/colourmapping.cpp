#include "palette/colourmapping.h"

#include "palette/palettelookup.h"
#include "platform/imagememory.h"
#include "platform/log.h"
#include "platform/prompts.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <limits>
#include <map>
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

qint64 distance(QRgb a, QRgb b) {
    const qint64 red = qRed(a) - qRed(b);
    const qint64 green = qGreen(a) - qGreen(b);
    const qint64 blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

QString counted(qint64 count, const QString &one, const QString &many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString lackingText(qsizetype colours, qint64 pixels, const QString &file, const ColourTarget &target) {
    return QStringLiteral("%1 (%2) that \"%3\" uses %4 not in %5, which shows %6.")
        .arg(counted(colours, QStringLiteral("colour"), QStringLiteral("colours")),
             counted(pixels, QStringLiteral("pixel"), QStringLiteral("pixels")), file,
             colours == 1 ? QStringLiteral("is") : QStringLiteral("are"), target.palette, target.graphic);
}

QString nearestText(qsizetype colours, qint64 pixels, const ColourTarget &target) {
    return QStringLiteral("%1 of %2 missing from %3 took the nearest colours.")
        .arg(counted(pixels, QStringLiteral("pixel"), QStringLiteral("pixels")),
             counted(colours, QStringLiteral("colour"), QStringLiteral("colours")), target.palette);
}

// A true-colour picture has no indexes: every pixel takes the entry of its colour, a fully
// transparent one entry 0.
std::optional<QImage> matchTrueColours(const QImage &picture, const QString &file, const ColourTarget &target,
                                       Prompts &prompts, Log &log) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, qint64> counts;
    qint64 transparent = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                ++transparent;
            else
                ++counts[opaque(line[x])];
        }
    }
    QHash<QRgb, uchar> lookup;
    QList<QRgb> missing;
    qint64 missingPixels = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (const std::optional<int> entry = entryHolding(target.colours, it.key())) {
            lookup.insert(it.key(), uchar(*entry));
        } else {
            missing.append(it.key());
            missingPixels += it.value();
        }
    }
    const QString prefix = target.graphic + QStringLiteral(": ");
    if (!missing.isEmpty()) {
        const QString lacking = lackingText(missing.size(), missingPixels, file, target);
        switch (prompts.missingColours(lacking)) {
        case MissingColoursAnswer::Cancel:
            return std::nullopt;
        case MissingColoursAnswer::KeepIndexes:
            prompts.message(
                QStringLiteral("\"%1\" is a true-colour file: it has no stored indexes to keep.").arg(file));
            return std::nullopt;
        case MissingColoursAnswer::Nearest:
            for (const QRgb colour : missing)
                lookup.insert(colour, uchar(nearestOpaqueEntry(target.colours, colour)));
            log.append(prefix + nearestText(missing.size(), missingPixels, target));
            break;
        }
    }
    log.append(prefix + QStringLiteral("the true colours of \"%1\" were matched to %2; %3 took entry 0.")
                            .arg(file, target.palette,
                                 counted(transparent, QStringLiteral("fully transparent pixel"),
                                         QStringLiteral("fully transparent pixels"))));
    const bool hasShown =
        target.shown.format() == QImage::Format_Indexed8 && target.shown.size() == argb.size();
    QImage mapped = makeImage(argb.size(), QImage::Format_Indexed8);
    mapped.setColorTable(target.colours);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *from = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        const uchar *was = hasShown ? target.shown.constScanLine(y) : nullptr;
        uchar *to = mapped.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb colour = opaque(from[x]);
            if (qAlpha(from[x]) == 0)
                to[x] = 0;
            else if (was && was[x] < target.colours.size() && opaque(target.colours[was[x]]) == colour)
                to[x] = was[x];
            else
                to[x] = lookup.value(colour);
        }
    }
    return mapped;
}

} // namespace

std::optional<int> entryHolding(const QList<QRgb> &colours, QRgb colour) {
    const QList<int> holding = entriesHolding(colours, opaque(colour));
    if (holding.isEmpty())
        return std::nullopt;
    return holding.size() > 1 && holding[0] == 0 ? holding[1] : holding[0];
}

int nearestOpaqueEntry(const QList<QRgb> &colours, QRgb colour) {
    int best = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int i = 1; i < colours.size(); ++i) {
        if (const qint64 d = distance(colours[i], colour); d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

ColourTarget paletteTarget(const StyleDocument &doc, int palette, const QString &graphic) {
    return {ClutToPal(doc, palette), QStringLiteral("palette %1").arg(palette), graphic};
}

std::optional<QImage> matchColours(const LoadedBitmap &bitmap, const QString &file,
                                   const ColourTarget &target, Prompts &prompts, Log &log) {
    const QImage &pixels = bitmap.image;
    if (pixels.format() != QImage::Format_Indexed8)
        return matchTrueColours(pixels, file, target, prompts, log);
    const Counts counts = pixelCounts(pixels);
    const int fileColours = std::min<int>({bitmap.fileColours, Entries, int(target.colours.size())});
    std::array<uchar, Entries> lookup;
    std::iota(lookup.begin(), lookup.end(), 0);
    // Entries whose own index shows their colour in the target (entry 0 only where no other entry
    // holds it); the file's numbering is taken there.
    std::array<bool, Entries> own;
    own.fill(true);
    QList<int> missing;
    QSet<QRgb> missingColours;
    qint64 missingPixels = 0;
    for (int i = 0; i < fileColours; ++i) {
        const QRgb colour = opaque(pixels.color(i));
        const std::optional<int> entry = entryHolding(target.colours, colour);
        if (counts[i] == 0 || (opaque(target.colours[i]) == colour && (i != 0 || entry == 0)))
            continue;
        own[std::size_t(i)] = false;
        if (entry) {
            lookup[i] = uchar(*entry);
        } else {
            missing.append(i);
            missingColours.insert(colour);
            missingPixels += counts[i];
        }
    }
    if (std::all_of(own.begin(), own.end(), [](bool taken) { return taken; }))
        return pixels;

    const QString prefix = target.graphic + QStringLiteral(": ");
    if (!missing.isEmpty()) {
        const QString lacking = lackingText(missingColours.size(), missingPixels, file, target);
        switch (prompts.missingColours(lacking)) {
        case MissingColoursAnswer::Cancel:
            return std::nullopt;
        case MissingColoursAnswer::KeepIndexes:
            log.append(prefix + QStringLiteral("the stored indexes of \"%1\" were kept; ").arg(file) +
                       lacking);
            return pixels;
        case MissingColoursAnswer::Nearest:
            for (int i : missing)
                lookup[i] = uchar(nearestOpaqueEntry(target.colours, opaque(pixels.color(i))));
            log.append(prefix + nearestText(missingColours.size(), missingPixels, target));
            break;
        }
    }

    // A renumbered pixel of the colour the graphic shows there keeps the index it has.
    const bool hasShown =
        target.shown.format() == QImage::Format_Indexed8 && target.shown.size() == pixels.size();
    QImage mapped = makeImage(pixels.size(), QImage::Format_Indexed8);
    mapped.setColorTable(target.colours);
    std::map<std::pair<int, int>, qint64> taken;
    qint64 moved = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *from = pixels.constScanLine(y);
        const uchar *was = hasShown ? target.shown.constScanLine(y) : nullptr;
        uchar *to = mapped.scanLine(y);
        for (int x = 0; x < pixels.width(); ++x) {
            const uchar i = from[x];
            uchar entry = lookup[i];
            if (!own[i] && was && was[x] < target.colours.size() &&
                opaque(target.colours[was[x]]) == opaque(pixels.color(i)))
                entry = was[x];
            to[x] = entry;
            moved += entry != i;
            if (i < fileColours)
                ++taken[{i, entry}];
        }
    }
    if (moved == 0 && missing.isEmpty())
        return pixels;

    for (const auto &[pair, count] : taken) {
        const QRgb shown = opaque(target.colours[pair.second]);
        const qsizetype holders = entriesHolding(target.colours, shown).size();
        if (holders > 1)
            log.append(
                prefix +
                QStringLiteral("%1 of colour %2 (index %3 in the file) took entry %4 of %5, one "
                               "of %6 entries holding that colour.")
                    .arg(counted(count, QStringLiteral("pixel"), QStringLiteral("pixels")), colourName(shown))
                    .arg(pair.first)
                    .arg(pair.second)
                    .arg(target.palette)
                    .arg(holders));
    }
    log.append(prefix + QStringLiteral("the colours of \"%1\" were matched to %2; %3 took another index.")
                            .arg(file, target.palette,
                                 counted(moved, QStringLiteral("pixel"), QStringLiteral("pixels"))));
    return mapped;
}

std::optional<QString> transparencyChange(const QImage &before, const QImage &after) {
    qint64 become = 0, stop = 0;
    for (int y = 0; y < std::min(before.height(), after.height()); ++y) {
        const uchar *was = before.constScanLine(y);
        const uchar *now = after.constScanLine(y);
        for (int x = 0; x < std::min(before.width(), after.width()); ++x) {
            become += was[x] != 0 && now[x] == 0;
            stop += was[x] == 0 && now[x] != 0;
        }
    }
    if (become == 0 && stop == 0)
        return std::nullopt;
    return QStringLiteral("%1 %2 transparent, %3 %4 being transparent")
        .arg(counted(become, QStringLiteral("pixel"), QStringLiteral("pixels")),
             become == 1 ? QStringLiteral("becomes") : QStringLiteral("become"))
        .arg(stop)
        .arg(stop == 1 ? QStringLiteral("stops") : QStringLiteral("stop"));
}
