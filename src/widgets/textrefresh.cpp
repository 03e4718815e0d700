#include "widgets/textrefresh.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

QStringList viewLines(const QPlainTextEdit *view) {
    QStringList lines;
    if (view->document()->isEmpty())
        return lines;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void showLines(QPlainTextEdit *view, const QStringList &lines) {
    // Positions in the document count one for each line break, as in the joined text.
    const QString shown = viewLines(view).join(QLatin1Char('\n'));
    const QString wanted = lines.join(QLatin1Char('\n'));
    if (shown == wanted)
        return;
    const qsizetype shorter = std::min(shown.size(), wanted.size());
    qsizetype head = 0;
    while (head < shorter && shown[head] == wanted[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && shown[shown.size() - 1 - tail] == wanted[wanted.size() - 1 - tail])
        ++tail;
    const int vertical = view->verticalScrollBar()->value();
    const int horizontal = view->horizontalScrollBar()->value();
    QTextCursor cursor(view->document());
    cursor.setPosition(int(head));
    cursor.setPosition(int(shown.size() - tail), QTextCursor::KeepAnchor);
    cursor.insertText(wanted.mid(head, wanted.size() - tail - head));
    view->verticalScrollBar()->setValue(vertical);
    view->horizontalScrollBar()->setValue(horizontal);
}
