#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the editor: it carries the text the user is shown.
class EditorError : public std::runtime_error {
public:
    explicit EditorError(const QString &text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString &text() const { return text_; }

private:
    QString text_;
};
