#pragma once

class QDialog;
class QHBoxLayout;

#include <QString>

// Appends the dialog's OK (default) and Cancel buttons, named btn_ok and btn_cancel, to `row`.
void addOkCancel(QDialog *dialog, QHBoxLayout *row, const QString &ok = QStringLiteral("Ok"),
                 const QString &cancel = QStringLiteral("Cancel"));
