#pragma once

#include <QStringList>

class QPlainTextEdit;

// The lines of a text view exactly as they stand: toPlainText() turns non-breaking spaces into
// blanks, which would change bytes the user never touched.
QStringList viewLines(const QPlainTextEdit *view);

// Makes the view show `lines` by replacing, through a text cursor, only the stretch that differs,
// so the view keeps its own undo history and its scroll position. An unchanged text is not touched.
void showLines(QPlainTextEdit *view, const QStringList &lines);
