#include "editorerror.h"
#include "fileio.h"
#include "tempdir.h"

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

TEST(FileIo, WriteThenReadGivesTheSameBytes) {
    TestDir dir;
    const QString path = dir.path("data.bin");
    const QByteArray first("first\0version", 13);
    writeWholeFileAtomic(path, first);
    EXPECT_EQ(readWholeFile(path), first);
    writeWholeFileAtomic(path, "second");
    EXPECT_EQ(readWholeFile(path), "second");
    EXPECT_THROW(readWholeFile(dir.path("missing.bin")), EditorError);
}

TEST(FileIo, FailedWriteLeavesNothingBehind) {
    TestDir dir;
    const QString folder = dir.path("target");
    ASSERT_TRUE(QDir().mkdir(folder));
    writeWholeFileAtomic(dir.path("old.txt"), "old");

    EXPECT_THROW(writeWholeFileAtomic(folder, "new"), EditorError);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_THROW(writeWholeFileAtomic(dir.path("missing/file.txt"), "new"), EditorError);
    // A file standing where a folder is expected cannot be written through either.
    EXPECT_THROW(writeWholeFileAtomic(dir.path("old.txt/file.txt"), "new"), EditorError);

    EXPECT_EQ(readWholeFile(dir.path("old.txt")), "old");
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"old.txt", "target"}));
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}
