#include "style/recyclelist.h"
#include "style/surfacelists.h"

#include "platform/editorerror.h"

#include <gtest/gtest.h>

namespace {

BoundedTable<quint16, SurfaceListsCapacity> words(std::initializer_list<quint16> list) {
    BoundedTable<quint16, SurfaceListsCapacity> out;
    for (const quint16 w : list)
        out.append(w);
    return out;
}

TEST(SurfaceLists, SplitAndRebuildAgreeOnNineLists) {
    const auto raw = words({5, 7, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0});
    const auto columns = splitSurfaceLists(raw);
    EXPECT_EQ(columns[0], QStringList({"5", "7"}));
    EXPECT_TRUE(columns[1].isEmpty());
    EXPECT_EQ(columns[2], QStringList({"9"}));
    EXPECT_EQ(rebuildSurfaceLists(columns), raw);
}

TEST(SurfaceLists, ShortAndLongListsBecomeExactlyNine) {
    const auto three = rebuildSurfaceLists(splitSurfaceLists(words({1, 0, 2, 0, 3, 0})));
    EXPECT_EQ(three, words({1, 0, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0}));
    // Words after the ninth 0 are dropped.
    const auto ten = splitSurfaceLists(words({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 44, 0}));
    EXPECT_EQ(rebuildSurfaceLists(ten), words({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(SurfaceLists, RebuildRefusesMoreWordsThanTheTableHolds) {
    std::array<QStringList, SurfaceListCount> columns;
    for (int i = 0; i < SurfaceListsCapacity - SurfaceListCount; ++i)
        columns[4].append(QStringLiteral("3"));
    EXPECT_EQ(rebuildSurfaceLists(columns).count(), SurfaceListsCapacity);
    columns[4].append(QStringLiteral("3"));
    EXPECT_THROW(rebuildSurfaceLists(columns), EditorError);
}

TEST(RecycleList, SortKeepsTheLengthAndPutsRepeatsLast) {
    RecycleTable list;
    for (const quint8 v : {30, 5, 30, 7, 5, 0})
        list.append(v);
    sortRecycleList(list);
    EXPECT_EQ(std::vector<quint8>(list.begin(), list.end()), (std::vector<quint8>{0, 5, 7, 30, 30, 5}));
}

} // namespace
