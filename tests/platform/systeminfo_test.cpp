#include "platform/systeminfo.h"
#include "support/tempdir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(SystemInfo, CreateFolderMakesOneLevelOnly) {
    TestDir dir;
    EXPECT_TRUE(createFolder(dir.path("work")));
    EXPECT_TRUE(QFileInfo(dir.path("work")).isDir());
    // The work folder of the car export is created on every run; the second time reports false.
    EXPECT_FALSE(createFolder(dir.path("work")));
    EXPECT_FALSE(createFolder(dir.path("missing/work")));
}
