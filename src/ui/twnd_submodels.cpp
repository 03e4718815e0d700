#include "ui/twnd_submodels.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Twnd_submodels::Twnd_submodels(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_submodels"));
    setWindowTitle(QStringLiteral("Submodel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("This car has multiple submodels: \n"
                                                "multiple cars can share same sprite\n"
                                                " \n"
                                                "choose the car to edit:"),
                                 this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(list_);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok);
}

std::optional<int> Twnd_submodels::choose(int subModels) {
    list_->clear();
    for (int entry = 0; entry <= subModels; ++entry)
        list_->addItem(QString::number(entry));
    list_->setCurrentRow(0);
    if (exec() != QDialog::Accepted || list_->currentRow() < 0)
        return std::nullopt;
    return list_->currentRow();
}
