#include "widgets/lazypage.h"

#include <QScopeGuard>
#include <QVBoxLayout>

LazyPage::LazyPage(std::function<QWidget *()> make, QWidget *parent)
    : QWidget(parent), make_(std::move(make)) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWidget *LazyPage::contents() {
    // What the making does may ask for the contents again: it gets none rather than a second copy.
    if (!contents_ && !making_) {
        making_ = true;
        const auto madeOrFailed = qScopeGuard([this] { making_ = false; });
        QWidget *made = make_();
        contents_ = made;
        layout()->addWidget(made);
        // Shown at once, not at the next turn of the event loop as a widget added to a shown parent is.
        if (isVisible())
            made->show();
    }
    return contents_;
}

void LazyPage::showEvent(QShowEvent *event) {
    contents();
    QWidget::showEvent(event);
}
