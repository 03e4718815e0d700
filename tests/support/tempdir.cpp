#include "support/tempdir.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

TestDir::TestDir() : maker_(QCoreApplication::applicationPid()) {
    EXPECT_TRUE(dir_.isValid());
}

QString TestDir::path(const QString &name) const {
    return dir_.filePath(name);
}

void TestDir::removeIfMadeHere() {
    if (QCoreApplication::applicationPid() == maker_)
        dir_.remove();
}
