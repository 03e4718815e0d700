#include "ui/collisionsizedialog.h"

#include "cars/carrecords.h"
#include "platform/editorerror.h"
#include "platform/prompts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *sizeField(QWidget *parent, const QString &name) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    // Digits only while typing; the range is checked at "Ok", as the validator lets 300 through
    // half-typed.
    field->setValidator(new QIntValidator(0, CollisionSizeLimit, field));
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
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Twnd_colsize::btn_okClick);
    auto *exit = new QPushButton(QStringLiteral("exit"), this);
    exit->setObjectName(QStringLiteral("btn_cancel"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(exit);
    layout->addLayout(row);
}

std::optional<QSize> Twnd_colsize::ask(QSize current, Prompts &prompts) {
    width_->setText(QString::number(current.width()));
    height_->setText(QString::number(current.height()));
    prompts_ = &prompts;
    const bool entered = exec() == QDialog::Accepted;
    prompts_ = nullptr;
    if (!entered)
        return std::nullopt;
    return entered_;
}

void Twnd_colsize::btn_okClick() {
    try {
        entered_ = collisionSize(width_->text(), height_->text());
    } catch (const EditorError &error) {
        prompts_->message(error.text());
        return;
    }
    accept();
}
