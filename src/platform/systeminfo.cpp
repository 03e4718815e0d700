#include "platform/systeminfo.h"

#include <QDir>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString tempFolder() {
    return QDir::tempPath();
}

// Asks the user database rather than the environment, which the program never reads.
QString userName() {
    const passwd *entry = getpwuid(geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString computerName() {
    return QSysInfo::machineHostName();
}

bool createFolder(const QString &path) {
    return QDir().mkdir(path);
}
