#pragma once

#include <QString>
#include <optional>

inline const QString DefaultTilePattern = QStringLiteral("VYR2_TILE_%d.bmp");

// The tile file-name pattern: text with exactly one integer conversion (%d, %i or %u with
// optional flags "-+ 0#", width and precision) and "%%" for a percent sign. The pattern is user
// text, so it is taken apart here and never handed to a printf-style function.
class TilePattern {
public:
    // Nothing, with the reason in `error`, when the pattern cannot take one tile number.
    static std::optional<TilePattern> parse(const QString &pattern, QString &error);

    QString format(int tile) const;

private:
    QString prefix_;
    QString suffix_;
    bool leftAlign_ = false;
    bool plusSign_ = false;
    bool spaceSign_ = false;
    bool zeroPad_ = false;
    int width_ = 0;
    int precision_ = -1;
};
