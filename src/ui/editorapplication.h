#pragma once

#include <QApplication>
#include <functional>

// The editor's application object, named "vyr2 sty tool". An error escaping a command goes to the error
// handler (the main window: it puts its controls back and shows the text in a message box); the program goes
// on.
class EditorApplication : public QApplication {
public:
    EditorApplication(int &argc, char **argv);

    void setErrorHandler(std::function<void(const QString &)> handler) { handler_ = std::move(handler); }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::function<void(const QString &)> handler_;
};
