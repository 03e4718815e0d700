#include "graphics/spritefields.h"

#include <limits>

namespace {

struct FieldRange {
    int low;
    int high;
    int aboveHigh; // what a value above `high` becomes
};

constexpr std::array<FieldRange, SpriteFieldCount> Ranges = {{
    {0, 255, 251}, // x
    {0, 255, 251}, // y
    {0, 255, 255}, // page
    {2, 128, 128}, // width
    {2, 128, 128}, // height
}};

// The field's value; nothing for a text that is not all digits. Digits too many for a 64-bit
// number still count as a number above every range.
std::optional<qint64> fieldValue(const QString &text) {
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : std::numeric_limits<qint64>::max();
}

SpriteEntry &entryOf(StyleDocument &doc, int sprite) {
    return doc.SpriteIndex[static_cast<std::size_t>(sprite)];
}

quint32 withPosition(quint32 ptr, int x, int y, int page) {
    return (ptr & 0xff000000u) | (quint32(page & 0xff) << 16) | (quint32(y & 0xff) << 8) | quint32(x & 0xff);
}

} // namespace

SpriteFieldTexts spriteFieldTexts(const SpriteEntry &entry) {
    return {QString::number(entry.x()), QString::number(entry.y()), QString::number(entry.page()),
            QString::number(entry.w), QString::number(entry.h)};
}

std::optional<std::pair<SpriteField, QString>> spriteFieldCorrection(const SpriteFieldTexts &texts) {
    constexpr SpriteField Order[] = {SpriteField::X, SpriteField::Y, SpriteField::Page, SpriteField::Width,
                                     SpriteField::Height};
    for (const bool upper : {true, false}) {
        for (const SpriteField field : Order) {
            const auto k = static_cast<std::size_t>(field);
            const std::optional<qint64> value = fieldValue(texts[k]);
            if (!value)
                return std::nullopt;
            if (upper && *value > Ranges[k].high)
                return std::pair(field, QString::number(Ranges[k].aboveHigh));
            if (!upper && *value < Ranges[k].low)
                return std::pair(field, QString::number(Ranges[k].low));
        }
    }
    return std::nullopt;
}

bool applySpriteFields(StyleDocument &doc, int sprite, const SpriteFieldTexts &texts) {
    std::array<int, SpriteFieldCount> values{};
    SpriteEntry &entry = entryOf(doc, sprite);
    for (std::size_t k = 0; k < SpriteFieldCount; ++k) {
        const std::optional<qint64> value = fieldValue(texts[k]);
        if (!value || *value < Ranges[k].low || *value > Ranges[k].high)
            return false;
        values[k] = static_cast<int>(*value);
        switch (static_cast<SpriteField>(k)) {
        case SpriteField::X:
            entry.ptr = withPosition(entry.ptr, values[0], entry.y(), entry.page());
            break;
        case SpriteField::Y:
            entry.ptr = withPosition(entry.ptr, entry.x(), values[1], entry.page());
            break;
        case SpriteField::Page:
            entry.ptr = withPosition(entry.ptr, entry.x(), entry.y(), values[2]);
            break;
        case SpriteField::Width:
            entry.w = static_cast<quint8>(values[3]);
            break;
        case SpriteField::Height:
            entry.h = static_cast<quint8>(values[4]);
            break;
        }
    }
    return true;
}

void dropSprite(StyleDocument &doc, int sprite, QPoint topLeft) {
    SpriteEntry &entry = entryOf(doc, sprite);
    // Division and remainder truncate toward zero, as the positions always have.
    entry.ptr = withPosition(entry.ptr, topLeft.x() % PageSide, topLeft.y(), topLeft.x() / PageSide);
}

QString spritePointerReadout(QPoint point) {
    return QStringLiteral("X: %1, Y: %2, P: %3")
        .arg(point.x() % PageSide)
        .arg(point.y())
        .arg(point.x() / PageSide);
}
