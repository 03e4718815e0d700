#include "tempdir.h"

#include <gtest/gtest.h>

TestDir::TestDir() {
    EXPECT_TRUE(dir_.isValid());
}

QString TestDir::path(const QString &name) const {
    return dir_.filePath(name);
}
