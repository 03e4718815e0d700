#include "platform/programversion.h"
#include "ui/editorapplication.h"
#include "ui/twnd_editor.h"

#include <cstdio>
#include <cstring>

namespace {

const char *const Usage =
    "Usage: vyr2-sty-tool [FILE.sty]\n"
    "\n"
    "The editor of VYR2 style files. Opens FILE.sty, and the nyc.gci beside it, in the\n"
    "window; without FILE the window opens empty.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  -V, --version  print the version and exit\n"
    "\n"
    "Example:\n"
    "  vyr2-sty-tool my-style.sty\n";

bool isOption(const char *argument, const char *shortName, const char *longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

} // namespace

int main(int argc, char *argv[]) {
    // Answered before the application starts, so they work without a display (man pages are made
    // from them at build time).
    for (int i = 1; i < argc; ++i) {
        if (isOption(argv[i], "-h", "--help"))
            return std::fputs(Usage, stdout) < 0 ? 1 : 0;
        if (isOption(argv[i], "-V", "--version"))
            return std::printf("vyr2-sty-tool %s\n", qPrintable(programVersion())) < 0 ? 1 : 0;
    }
    EditorApplication app(argc, argv);
    Twnd_editor window;
    app.setErrorHandler([&window](const QString &text) { window.reportError(text); });
    window.show();
    window.openArgument(QApplication::arguments());
    return QApplication::exec();
}
