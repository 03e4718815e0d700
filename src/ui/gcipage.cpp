#include "ui/gcipage.h"

#include "style/styledocument.h"
#include "ui/commandrunner.h"
#include "ui/documentchange.h"
#include "ui/pagecontext.h"
#include "widgets/textrefresh.h"

#include <QScopedValueRollback>

GciPage::GciPage(const PageContext &context, QWidget *parent) : QPlainTextEdit(parent), context_(context) {
    setObjectName(QStringLiteral("gcitext"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (showing_)
            return;
        const QStringList lines = viewLines(this);
        context_.runner.typeText([&](StyleDocument &doc) { doc.CarScript = lines; }, this);
    });
}

void GciPage::refresh() {
    const QScopedValueRollback<bool> showing(showing_, true);
    showLines(this, context_.document.CarScript);
}

void GciPage::showChange(const DocumentChange &change) {
    if (change.source != this && change.script())
        refresh();
}
