#include "cli/commandline.h"

#include <QCoreApplication>
#include <QTextStream>
#include <new>

int main(int argc, char *argv[]) {
    // Pixel stores are QImages, which need no GUI application.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        return runCommandLine(app.arguments().mid(1), out, err);
    } catch (const std::bad_alloc &) {
        // Each command reports its own want of memory; this is for what runs before one starts.
        err << "There is not enough memory to run vyr2-sty." << Qt::endl;
        return 1;
    }
}
