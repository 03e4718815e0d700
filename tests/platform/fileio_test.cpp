#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "support/tempdir.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(FileIo, WithExtensionReplacesOnlyTheFileNamesExtension) {
    const QString sty = QStringLiteral(".sty");
    EXPECT_EQ(withExtension("a/b.bmp", sty), "a/b.sty");
    EXPECT_EQ(withExtension("a/b", sty), "a/b.sty");
    EXPECT_EQ(withExtension("a.dir/b", sty), "a.dir/b.sty");
    EXPECT_EQ(withExtension("x.sty", sty), "x.sty");
    EXPECT_EQ(withExtension("a/b.tar.gz", sty), "a/b.tar.sty");
}

class AtomicWrite : public testing::TestWithParam<Durability> {};

INSTANTIATE_TEST_SUITE_P(FileIo, AtomicWrite, testing::Values(Durability::Synced, Durability::Deferred),
                         [](const testing::TestParamInfo<Durability> &info) {
                             return info.param == Durability::Synced ? "Synced" : "Deferred";
                         });

TEST_P(AtomicWrite, WriteThenReadGivesTheSameBytes) {
    TestDir dir;
    const QString path = dir.path("data.bin");
    const QByteArray first("first\0version", 13);
    writeWholeFileAtomic(path, first, GetParam());
    EXPECT_EQ(readWholeFile(path), first);
    writeWholeFileAtomic(path, "second", GetParam());
    EXPECT_EQ(readWholeFile(path), "second");
    EXPECT_TRUE(QFileInfo(path).isReadable());
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"data.bin"});
    EXPECT_THROW(readWholeFile(dir.path("missing.bin")), EditorError);
}

TEST_P(AtomicWrite, FailedWriteLeavesNothingBehind) {
    TestDir dir;
    const QString folder = dir.path("target");
    ASSERT_TRUE(QDir().mkdir(folder));
    writeWholeFileAtomic(dir.path("old.txt"), "old");

    EXPECT_THROW(writeWholeFileAtomic(folder, "new", GetParam()), EditorError);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_THROW(writeWholeFileAtomic(dir.path("missing/file.txt"), "new", GetParam()), EditorError);
    // A file standing where a folder is expected cannot be written through either.
    EXPECT_THROW(writeWholeFileAtomic(dir.path("old.txt/file.txt"), "new", GetParam()), EditorError);

    EXPECT_EQ(readWholeFile(dir.path("old.txt")), "old");
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"old.txt", "target"}));
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}
