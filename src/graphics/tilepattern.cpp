#include "graphics/tilepattern.h"

namespace {

// Longer fields make no sensible file name and would only let a typo allocate megabytes.
constexpr int MaxField = 255;

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a decimal field at `i`; -1 when it is longer than MaxField.
int readField(const QString &text, qsizetype &i) {
    int value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > MaxField)
            return -1;
    }
    return value;
}

} // namespace

std::optional<TilePattern> TilePattern::parse(const QString &pattern, QString &error) {
    // One arg() call with both texts, so that a "%1" in the pattern is not replaced in turn.
    const auto refuse = [&](const QString &reason) {
        error = QStringLiteral("The file name pattern \"%1\" cannot be used: %2. It must hold exactly one "
                               "%d, %i or %u for the tile number; write %% for a percent sign.")
                    .arg(pattern, reason);
        return std::nullopt;
    };
    TilePattern result;
    QString literal;
    bool found = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('%')) {
            literal += pattern[i];
            continue;
        }
        const qsizetype start = i++;
        if (i < pattern.size() && pattern[i] == QLatin1Char('%')) {
            literal += QLatin1Char('%');
            continue;
        }
        TilePattern field;
        for (; i < pattern.size(); ++i) {
            const QChar c = pattern[i];
            if (c == QLatin1Char('-'))
                field.leftAlign_ = true;
            else if (c == QLatin1Char('+'))
                field.plusSign_ = true;
            else if (c == QLatin1Char(' '))
                field.spaceSign_ = true;
            else if (c == QLatin1Char('0'))
                field.zeroPad_ = true;
            else if (c != QLatin1Char('#')) // no effect on decimal conversions
                break;
        }
        field.width_ = readField(pattern, i);
        bool tooLong = field.width_ < 0;
        if (i < pattern.size() && pattern[i] == QLatin1Char('.')) {
            ++i;
            field.precision_ = readField(pattern, i);
            tooLong = tooLong || field.precision_ < 0;
        }
        if (tooLong)
            return refuse(QStringLiteral("a width or precision above %1").arg(MaxField));
        if (i >= pattern.size())
            return refuse(QStringLiteral("it ends inside the conversion \"%1\"").arg(pattern.mid(start)));
        const QChar conversion = pattern[i];
        const QString written = pattern.mid(start, i - start + 1);
        if (conversion == QLatin1Char('*'))
            return refuse(QStringLiteral("\"*\" widths and precisions take an argument of their own"));
        if (QStringLiteral("hlLqjzt").contains(conversion))
            return refuse(QStringLiteral("length modifiers such as in \"%1\" are not allowed")
                              .arg(pattern.mid(start, i - start + 2)));
        if (conversion != QLatin1Char('d') && conversion != QLatin1Char('i') &&
            conversion != QLatin1Char('u'))
            return refuse(QStringLiteral("\"%1\" is not an integer conversion").arg(written));
        if (found)
            return refuse(QStringLiteral("it has more than one conversion"));
        // Sign flags only apply to signed conversions.
        if (conversion == QLatin1Char('u'))
            field.plusSign_ = field.spaceSign_ = false;
        field.prefix_ = literal;
        literal.clear();
        result = field;
        found = true;
    }
    if (!found)
        return refuse(QStringLiteral("it has no conversion"));
    result.suffix_ = literal;
    return result;
}

QString TilePattern::format(int tile) const {
    const qint64 value = tile;
    QString digits = QString::number(value < 0 ? -value : value);
    if (precision_ >= 0) {
        if (precision_ == 0 && value == 0)
            digits.clear();
        else if (digits.size() < precision_)
            digits.prepend(QString(precision_ - digits.size(), QLatin1Char('0')));
    }
    QString sign;
    if (value < 0)
        sign = QStringLiteral("-");
    else if (plusSign_)
        sign = QStringLiteral("+");
    else if (spaceSign_)
        sign = QStringLiteral(" ");
    QString field = sign + digits;
    const qsizetype padding = width_ - field.size();
    if (padding > 0) {
        if (leftAlign_)
            field.append(QString(padding, QLatin1Char(' ')));
        else if (zeroPad_ && precision_ < 0)
            field = sign + QString(padding, QLatin1Char('0')) + digits;
        else
            field.prepend(QString(padding, QLatin1Char(' ')));
    }
    return prefix_ + field + suffix_;
}
