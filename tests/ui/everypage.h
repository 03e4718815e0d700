#pragma once

#include "ui/twnd_editor.h"
#include "widgets/lazypage.h"

// Makes every page that the window makes only when it is first shown, so that a test finds the
// controls of each as the user does after visiting its tab.
inline void makeEveryPage(Twnd_editor &window) {
    for (LazyPage *page : window.findChildren<LazyPage *>())
        page->contents();
}

// What a tab of the window shows: the page itself, made if it was not yet.
inline QWidget *shownPage(QWidget *tab) {
    auto *lazy = qobject_cast<LazyPage *>(tab);
    return lazy ? lazy->contents() : tab;
}

// The tab that shows `page`.
inline QWidget *tabOf(QWidget *page) {
    auto *lazy = qobject_cast<LazyPage *>(page->parentWidget());
    return lazy ? lazy : page;
}
