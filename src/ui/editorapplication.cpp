#include "editorapplication.h"

#include "editorerror.h"

#include <QMessageBox>

EditorApplication::EditorApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool EditorApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const EditorError &error) {
        reportError(error.text());
    } catch (const std::exception &error) {
        reportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void EditorApplication::reportError(const QString &text) {
    if (recover_)
        recover_();
    QMessageBox::critical(activeWindow(), applicationDisplayName(), text);
}
