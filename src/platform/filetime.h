#pragma once

#include <QDateTime>
#include <QString>

// A time stamp as zip entry headers carry it: two-second steps, years 1980 to 2107.
struct DosDateTime {
    quint16 date;
    quint16 time;
};

// Times outside the DOS range are clamped to its first or last moment.
DosDateTime toDosDateTime(const QDateTime &local);
// The file's last-write time in local time; throws EditorError when the file does not exist.
DosDateTime lastWriteDosDateTime(const QString &path);
