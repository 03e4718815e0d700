#include "ui/editorapplication.h"

#include "platform/editorerror.h"

#include <QMessageBox>

EditorApplication::EditorApplication(int &argc, char **argv) : QApplication(argc, argv) {
    // No display name: the toolkit would append it to every window's title, and each window's
    // caption is already complete. Message boxes fall back to the application name.
    setApplicationName(QStringLiteral("vyr2 sty tool"));
    setDesktopFileName(QStringLiteral("vyr2-sty-tool"));
}

bool EditorApplication::notify(QObject *receiver, QEvent *event) {
    QString text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const EditorError &error) {
        text = error.text();
    } catch (const std::exception &error) {
        text = QString::fromLocal8Bit(error.what());
    }
    if (handler_)
        handler_(text);
    else
        QMessageBox::critical(activeWindow(), applicationDisplayName(), text);
    return false;
}
