#include "platform/filetime.h"

#include "platform/editorerror.h"

#include <QFileInfo>

DosDateTime toDosDateTime(const QDateTime &local) {
    const QDate date = local.date();
    const QTime time = local.time();
    if (!local.isValid() || date.year() < 1980)
        return {(0 << 9) | (1 << 5) | 1, 0};
    if (date.year() > 2107)
        return {(127 << 9) | (12 << 5) | 31, (23 << 11) | (59 << 5) | 29};
    return {quint16(((date.year() - 1980) << 9) | (date.month() << 5) | date.day()),
            quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2))};
}

DosDateTime lastWriteDosDateTime(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw EditorError(
            QStringLiteral("Cannot read the time of file \"%1\": it does not exist.").arg(path));
    return toDosDateTime(info.lastModified().toLocalTime());
}
