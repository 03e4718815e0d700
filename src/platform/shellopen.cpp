#include "platform/shellopen.h"

#include <QDesktopServices>
#include <QUrl>

bool openWithAssociatedProgram(const QString &path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
