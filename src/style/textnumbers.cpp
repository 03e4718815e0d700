#include "style/textnumbers.h"

#include "platform/editorerror.h"

int textToInteger(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    // QString::toInt accepts surrounding blanks; a list line with them is not a number here.
    if (!ok || text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        throw EditorError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}
