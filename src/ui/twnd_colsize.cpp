#include "twnd_colsize.h"

#include "dialogbuttons.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit *sizeField(QWidget *parent, const QString &name) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    // A collision size is one byte a side.
    field->setValidator(new QIntValidator(0, 255, field));
    return field;
}

} // namespace

Twnd_colsize::Twnd_colsize(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_colsize"));
    setWindowTitle(QStringLiteral("collision size"));
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    width_ = sizeField(this, QStringLiteral("edit_width"));
    height_ = sizeField(this, QStringLiteral("edit_height"));
    fields->addRow(QStringLiteral(" width "), width_);
    fields->addRow(QStringLiteral(" height "), height_);
    layout->addLayout(fields);
    auto *row = new QHBoxLayout;
    row->addStretch();
    addOkCancel(this, row, QStringLiteral("Ok"), QStringLiteral("exit"));
    layout->addLayout(row);
}

std::optional<QSize> Twnd_colsize::ask(QSize current) {
    width_->setText(QString::number(current.width()));
    height_->setText(QString::number(current.height()));
    if (exec() != QDialog::Accepted || width_->text().isEmpty() || height_->text().isEmpty())
        return std::nullopt;
    return QSize(width_->text().toInt(), height_->text().toInt());
}
