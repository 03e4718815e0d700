#include "style/surfacelists.h"

#include "platform/editorerror.h"
#include "style/textnumbers.h"

std::array<QStringList, SurfaceListCount>
splitSurfaceLists(const BoundedTable<quint16, SurfaceListsCapacity> &words) {
    std::array<QStringList, SurfaceListCount> columns;
    std::size_t k = 0;
    for (const quint16 word : words) {
        if (word == 0)
            ++k;
        else if (k < columns.size())
            columns[k].append(QString::number(word));
    }
    return columns;
}

BoundedTable<quint16, SurfaceListsCapacity>
rebuildSurfaceLists(const std::array<QStringList, SurfaceListCount> &columns) {
    qsizetype total = 0;
    for (const QStringList &column : columns)
        total += column.size() + 1;
    if (total > static_cast<qsizetype>(SurfaceListsCapacity))
        throw EditorError(
            QStringLiteral("the surface lists hold %1 words, more than the %2 a style file can store")
                .arg(total)
                .arg(SurfaceListsCapacity));

    BoundedTable<quint16, SurfaceListsCapacity> words;
    words.resize(static_cast<std::size_t>(total));
    std::size_t at = 0;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        for (const QString &line : columns[k]) {
            const auto word = static_cast<quint16>(textToInteger(line));
            if (word == 0)
                throw EditorError(
                    QStringLiteral("tile 0 cannot be stored in the \"%1\" surface list: a 0 ends "
                                   "the list and would move every list after it. Remove the line "
                                   "\"%2\".")
                        .arg(SurfaceLabels[k], line));
            words[at++] = word;
        }
        words[at++] = 0;
    }
    return words;
}
