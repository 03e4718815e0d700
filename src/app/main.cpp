#include "editorapplication.h"
#include "twnd_editor.h"

int main(int argc, char *argv[]) {
    EditorApplication app(argc, argv);
    Twnd_editor window;
    app.setErrorHandler([&window](const QString &text) { window.reportError(text); });
    window.show();
    window.openArgument(QApplication::arguments());
    return QApplication::exec();
}
