#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// The first action or button below `on` whose text is `caption`: widget tests press what the user
// reads. Fails the running test when there is none.
template <typename T> T *findCaptioned(const QWidget *on, const QString &caption) {
    for (T *child : on->findChildren<T *>())
        if (child->text() == caption)
            return child;
    ADD_FAILURE() << "nothing captioned " << caption.toStdString();
    return nullptr;
}
