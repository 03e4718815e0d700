#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// The "GCI raw editor" page: the car script as text. What the user types is handed on as lines;
// the script shown from the document is not.
class GciPage : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit GciPage(QWidget *parent = nullptr);

    void showScript(const QStringList &script);

signals:
    void scriptTyped(const QStringList &script);

private:
    bool showing_ = false;
};
