#include "clicommands.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    // Pixel stores are QImages, which need no GUI application.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(app.arguments().mid(1), out, err);
}
