#include "twnd_editor.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vyr2 sty tool"));
    QApplication::setApplicationDisplayName(QStringLiteral("vyr2 sty tool"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vyr2-sty-tool"));
    Twnd_editor window;
    window.show();
    window.openArgument(QApplication::arguments());
    return QApplication::exec();
}
