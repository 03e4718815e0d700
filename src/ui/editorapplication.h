#pragma once

#include <QApplication>
#include <functional>

// The editor's application object. An error escaping a command is shown in a message box with its
// text, after `recover` has put the window's controls back; the program goes on.
class EditorApplication : public QApplication {
public:
    EditorApplication(int &argc, char **argv);

    void setRecovery(std::function<void()> recover) { recover_ = std::move(recover); }
    bool notify(QObject *receiver, QEvent *event) override;
    // Shows one error the way every escaped error is shown.
    void reportError(const QString &text);

private:
    std::function<void()> recover_;
};
