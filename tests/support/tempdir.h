#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh folder per test, removed afterwards.
class TestDir {
public:
    TestDir();
    QString path(const QString &name) const;

private:
    QTemporaryDir dir_;
};
