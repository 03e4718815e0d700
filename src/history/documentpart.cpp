#include "history/documentpart.h"

#include <cstring>

namespace {

template <typename T> bool samePart(const T &x, const T &y) {
    return x == y;
}
// QImage compares 8-bit pictures pixel by pixel through its colour lookup; rows are compared here.
bool samePart(const QImage &x, const QImage &y) {
    if (x.constBits() == y.constBits())
        return true;
    if (x.size() != y.size() || x.format() != y.format() || x.colorTable() != y.colorTable())
        return false;
    const auto width = std::size_t(x.bytesPerLine());
    for (int row = 0; row < x.height(); ++row)
        if (std::memcmp(x.constScanLine(row), y.constScanLine(row), width) != 0)
            return false;
    return true;
}

} // namespace

DocumentParts changedParts(const StyleDocument &before, const StyleDocument &after) {
    DocumentParts changed;
    forEachField(before, after, [&](DocumentPart part, const auto &x, const auto &y) {
        if (!samePart(x, y))
            changed.set(part);
    });
    return changed;
}
