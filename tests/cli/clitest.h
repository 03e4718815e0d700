#pragma once

#include "clicommands.h"
#include "tempdir.h"

#include <QTextStream>
#include <gtest/gtest.h>

// Runs vyr2-sty in the test's process and keeps what it printed.
struct CliTest : ::testing::Test {
    int run(const QStringList &args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int status = runCommandLine(args, o, e);
        o.flush();
        e.flush();
        return status;
    }

    TestDir dir;
    QString out, err;
};
