#pragma once

#include "cli/clicommands.h"
#include "support/tempdir.h"

#include <QProcess>
#include <QTextStream>
#include <functional>
#include <gtest/gtest.h>

// Runs vyr2-sty in the test's process, or the built program as a script would, and keeps what it
// printed.
struct CliTest : ::testing::Test {
    int run(const QStringList &args) { return runProgram(args); }

    static constexpr int Crashed = 128;

    // The built vyr2-sty as a child process; `inChild` runs in the child before the program starts
    // (a resource limit, say). A program killed by a signal gives `Crashed`.
    int runProgram(const QStringList &args, const std::function<void()> &inChild = {}) {
        QProcess program;
        if (inChild)
            program.setChildProcessModifier(inChild);
        program.start(QStringLiteral(VYR2_STY_PROGRAM), args);
        const bool finished = program.waitForFinished(120000);
        outBytes = program.readAllStandardOutput();
        out = QString::fromUtf8(outBytes);
        err = QString::fromUtf8(program.readAllStandardError());
        if (!finished || program.error() == QProcess::FailedToStart)
            return -1;
        return program.exitStatus() == QProcess::CrashExit ? Crashed : program.exitCode();
    }

    TestDir dir;
    QString out, err;
    // Standard output as written: a picture or other bytes written to "-".
    QByteArray outBytes;
};
