#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/filetime.h"
#include "support/tempdir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QDateTime local(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

void expectDos(const DosDateTime &actual, quint16 date, quint16 time) {
    EXPECT_EQ(actual.date, date);
    EXPECT_EQ(actual.time, time);
}

} // namespace

TEST(FileTime, PacksLocalTimeAsDos) {
    expectDos(toDosDateTime(local(2024, 2, 29, 13, 45, 59)), 0x585D, 0x6DBD);
    expectDos(toDosDateTime(local(1980, 1, 1, 0, 0, 0)), 0x0021, 0x0000);
    expectDos(toDosDateTime(local(1980, 1, 1, 0, 0, 1)), 0x0021, 0x0000);
    expectDos(toDosDateTime(local(2107, 12, 31, 23, 59, 59)), 0xFF9F, 0xBF7D);
}

TEST(FileTime, ClampsToTheDosRange) {
    expectDos(toDosDateTime(local(1979, 12, 31, 23, 59, 59)), 0x0021, 0x0000);
    expectDos(toDosDateTime(local(1601, 1, 1, 12, 0, 0)), 0x0021, 0x0000);
    expectDos(toDosDateTime(local(2108, 1, 1, 0, 0, 0)), 0xFF9F, 0xBF7D);
    expectDos(toDosDateTime(QDateTime()), 0x0021, 0x0000);
}

TEST(FileTime, LastWriteTimeOfAFile) {
    TestDir dir;
    const QString path = dir.path("source.bmp");
    writeWholeFileAtomic(path, "x");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(local(2001, 7, 4, 10, 20, 30), QFileDevice::FileModificationTime));
    file.close();
    // 2001-07-04 10:20:30
    expectDos(lastWriteDosDateTime(path), 0x2AE4, 0x528F);
    EXPECT_THROW(lastWriteDosDateTime(dir.path("missing.bmp")), EditorError);
}
