#include "support/paintprograms.h"

#include "support/bitmapbytes.h"

#include <QHash>
#include <algorithm>

namespace {

// The colours the pixels show, in the order they first appear, top row first.
QList<QRgb> coloursInOrder(const QImage &picture, QHash<QRgb, qsizetype> &counts) {
    QList<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y) | 0xFF000000u;
            if (counts[colour]++ == 0)
                colours.append(colour);
        }
    return colours;
}

QList<QByteArray> indexRows(const QImage &picture, const QList<QRgb> &table) {
    QHash<QRgb, int> indexOf;
    for (int i = 0; i < table.size(); ++i)
        indexOf.insert(table[i], i);
    QList<QByteArray> rows;
    for (int y = 0; y < picture.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < picture.width(); ++x)
            row.append(char(indexOf.value(picture.pixel(x, y) | 0xFF000000u)));
        rows.append(row);
    }
    return rows;
}

// Runs of equal bytes over each row padded to four bytes, bottom row first, every row ended by an
// end-of-line code and the picture by the end mark.
QByteArray paddedRuns(const QList<QByteArray> &rows) {
    QByteArray out;
    for (qsizetype r = rows.size() - 1; r >= 0; --r) {
        QByteArray row = rows[r];
        row.append((4 - row.size() % 4) % 4, '\0');
        for (qsizetype x = 0; x < row.size();) {
            qsizetype run = 1;
            while (x + run < row.size() && run < 255 && row[x + run] == row[x])
                ++run;
            out.append(char(run));
            out.append(row[x]);
            x += run;
        }
        out.append(2, '\0');
    }
    out.append('\0');
    out.append('\1');
    return out;
}

} // namespace

QString programName(PaintProgram program) {
    switch (program) {
    case PaintProgram::Gimp:
        return QStringLiteral("GIMP");
    case PaintProgram::ImageMagick:
        return QStringLiteral("ImageMagick");
    case PaintProgram::GraphicsMagick:
        return QStringLiteral("GraphicsMagick");
    case PaintProgram::Pillow:
        return QStringLiteral("Pillow");
    }
    return QString();
}

QByteArray paintProgramBitmap(const QImage &picture, PaintProgram program) {
    QHash<QRgb, qsizetype> counts;
    QList<QRgb> table = coloursInOrder(picture, counts);
    BitmapLayout layout{.width = picture.width(), .height = picture.height()};
    switch (program) {
    case PaintProgram::Gimp:
        layout.infoLength = 124;
        break;
    case PaintProgram::ImageMagick:
        std::sort(table.begin(), table.end());
        layout.infoLength = 124;
        layout.compression = 1;
        break;
    case PaintProgram::GraphicsMagick:
        std::reverse(table.begin(), table.end());
        layout.compression = 1;
        break;
    case PaintProgram::Pillow:
        std::stable_sort(table.begin(), table.end(), [&](QRgb a, QRgb b) { return counts[a] > counts[b]; });
        break;
    }
    layout.rows = indexRows(picture, table);
    if (layout.compression == 1)
        layout.stored = paddedRuns(layout.rows);
    if (program == PaintProgram::Pillow)
        table.resize(256, qRgb(0, 0, 0));
    layout.colours = table;
    return bitmapBytes(layout);
}

QByteArray os2TrueColourBitmap(const QImage &picture) {
    BitmapLayout layout{
        .width = picture.width(), .height = picture.height(), .bitCount = 24, .infoLength = 12};
    for (int y = 0; y < picture.height(); ++y) {
        QByteArray row;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y);
            row.append(char(qBlue(colour)));
            row.append(char(qGreen(colour)));
            row.append(char(qRed(colour)));
        }
        layout.rows.append(row);
    }
    return bitmapBytes(layout);
}
