#pragma once

class QDialog;
class QHBoxLayout;

// Appends the dialog's "Ok" (default) and "Cancel" buttons, named btn_ok and btn_cancel, to `row`.
void addOkCancel(QDialog *dialog, QHBoxLayout *row);
