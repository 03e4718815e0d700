#include "widgets/dialogbuttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

void addOkCancel(QDialog *dialog, QHBoxLayout *row, const QString &okCaption, const QString &cancelCaption) {
    auto *ok = new QPushButton(okCaption, dialog);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto *cancel = new QPushButton(cancelCaption, dialog);
    cancel->setObjectName(QStringLiteral("btn_cancel"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
}
