#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh folder per test, removed afterwards.
class TestDir {
public:
    TestDir();
    QString path(const QString &name) const;
    // Removes the folder now, when this process made it: a death test's child that ends with
    // _Exit runs no destructor, and one started afresh made a folder of its own.
    void removeIfMadeHere();

private:
    QTemporaryDir dir_;
    qint64 maker_;
};
