#include "dialogbuttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

void addOkCancel(QDialog *dialog, QHBoxLayout *row) {
    auto *ok = new QPushButton(QStringLiteral("Ok"), dialog);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("btn_cancel"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
}
