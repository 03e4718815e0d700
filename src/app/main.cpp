#include "startwindow.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("vyr2 sty tool"));
    StartWindow window;
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && QFileInfo::exists(args[1]))
        window.openFile(args[1]);
    return QApplication::exec();
}
