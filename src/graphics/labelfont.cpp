#include "graphics/labelfont.h"

#include <QRgb>
#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr int GlyphHeight = 9;
constexpr int Margin = 1;
constexpr int LineHeight = GlyphHeight + 1;
constexpr QRgb Ink = 0xff000000;
constexpr QRgb Paper = 0xffffffff;

struct Glyph {
    char letter;
    // Nine rows separated by '/', '#' for ink; the width is that of the first row.
    std::string_view rows;
};

constexpr std::array<Glyph, 16> Glyphs = {{
    {' ', ".../.../.../.../.../.../.../.../..."},
    {'a', "..../..../.##./...#/.###/#..#/.###/..../...."},
    {'c', "..../..../.###/#.../#.../#.../.###/..../...."},
    {'d', "...#/...#/.###/#..#/#..#/#..#/.###/..../...."},
    {'e', "..../..../.##./#..#/####/#.../.###/..../...."},
    {'f', ".##/#../###/#../#../#../#../.../..."},
    {'g', "..../..../.###/#..#/#..#/#..#/.###/...#/.##."},
    {'i', "#/./#/#/#/#/#/./."},
    {'l', "#/#/#/#/#/#/#/./."},
    {'m', "...../...../####./#.#.#/#.#.#/#.#.#/#.#.#/...../....."},
    {'o', "..../..../.##./#..#/#..#/#..#/.##./..../...."},
    {'p', "..../..../###./#..#/#..#/#..#/###./#.../#..."},
    {'r', ".../.../#.#/##./#../#../#../.../..."},
    {'s', "..../..../.###/#.../.##./...#/###./..../...."},
    {'t', ".#./.#./###/.#./.#./.#./..#/.../..."},
    {'w', "...../...../#...#/#...#/#.#.#/#.#.#/.#.#./...../....."},
}};

constexpr bool wellFormed(const Glyph &g) {
    const std::size_t width = g.rows.find('/');
    return width != std::string_view::npos && g.rows.size() == GlyphHeight * (width + 1) - 1;
}
static_assert(std::all_of(Glyphs.begin(), Glyphs.end(), wellFormed),
              "every glyph has nine rows of one width");

const Glyph *glyphOf(QChar c) {
    const auto found = std::find_if(Glyphs.begin(), Glyphs.end(),
                                    [c](const Glyph &g) { return QChar::fromLatin1(g.letter) == c; });
    return found == Glyphs.end() ? nullptr : &*found;
}

int glyphWidth(const Glyph &g) {
    return static_cast<int>(g.rows.find('/'));
}

// Width in pixels of `word`, one blank column after each letter but the last.
int wordWidth(const QString &word) {
    int width = 0;
    for (const QChar c : word)
        if (const Glyph *g = glyphOf(c))
            width += glyphWidth(*g) + 1;
    return std::max(0, width - 1);
}

// The text broken at blanks into lines no wider than `width`; a word wider than that keeps a
// line of its own and is cut at the cell's edge.
QStringList wrapped(const QString &text, int width) {
    QStringList lines;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && wordWidth(lines.last() + QLatin1Char(' ') + word) <= width)
            lines.last() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    return lines;
}

void fill(QImage &image, const QRect &area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, colour);
    }
}

void drawGlyph(QImage &image, const QRect &clip, const Glyph &g, int left, int top) {
    const int width = glyphWidth(g);
    for (int y = 0; y < GlyphHeight; ++y) {
        const int imageY = top + y;
        if (imageY < clip.top() || imageY > clip.bottom())
            continue;
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(imageY));
        const std::string_view bits = g.rows.substr(static_cast<std::size_t>(y * (width + 1)), width);
        for (int x = 0; x < width; ++x)
            if (bits[static_cast<std::size_t>(x)] == '#' && left + x >= clip.left() &&
                left + x <= clip.right())
                row[left + x] = Ink;
    }
}

} // namespace

void drawLabel(QImage &image, const QRect &cell, const QString &text) {
    const QRect clip = cell.intersected(image.rect());
    const QStringList lines = wrapped(text, cell.width() - 2 * Margin);
    if (lines.isEmpty() || clip.isEmpty())
        return;
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, wordWidth(line));
    const QRect box(cell.left(), cell.top(), widest + 2 * Margin,
                    static_cast<int>(lines.size()) * LineHeight + 2 * Margin - 1);
    fill(image, box.intersected(clip), Paper);
    int top = cell.top() + Margin;
    for (const QString &line : lines) {
        int left = cell.left() + Margin;
        for (const QChar c : line) {
            if (const Glyph *g = glyphOf(c)) {
                drawGlyph(image, clip, *g, left, top);
                left += glyphWidth(*g) + 1;
            }
        }
        top += LineHeight;
    }
}
