#include "editorapplication.h"
#include "twnd_editor.h"

int main(int argc, char *argv[]) {
    EditorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vyr2 sty tool"));
    QApplication::setApplicationDisplayName(QStringLiteral("vyr2 sty tool"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vyr2-sty-tool"));
    Twnd_editor window;
    app.setErrorHandler([&window](const QString &text) { window.reportError(text); });
    window.show();
    window.openArgument(QApplication::arguments());
    return QApplication::exec();
}
