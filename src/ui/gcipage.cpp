#include "ui/gcipage.h"

#include "widgets/textrefresh.h"

GciPage::GciPage(QWidget *parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("gcitext"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_)
            emit scriptTyped(viewLines(this));
    });
}

void GciPage::showScript(const QStringList &script) {
    showing_ = true;
    showLines(this, script);
    showing_ = false;
}
