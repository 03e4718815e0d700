#include "commandsupport.h"

#include "editorerror.h"
#include "log.h"
#include "progress.h"
#include "stylereader.h"
#include "stylewriter.h"

#include <QTextStream>

void printLines(QTextStream &out, const QStringList &lines) {
    for (const QString &line : lines)
        out << line << '\n';
}

bool loadStyle(StyleDocument &doc, const QString &path, Prompts &prompts, LineLog &log) {
    SilentProgress progress;
    return opensty(doc, path, prompts, progress, log);
}

bool saveStyle(StyleDocument &doc, const QString &target, Prompts &prompts, QTextStream &out) {
    SilentProgress progress;
    LineLog log;
    const bool saved = !writeStyle(doc, target, prompts, progress, log).isEmpty();
    if (saved)
        printLines(out, log.lines());
    return saved;
}

int guarded(QTextStream &err, CliPrompts &prompts, const std::function<bool()> &command) {
    bool done = false;
    try {
        done = command();
    } catch (const EditorError &error) {
        err << error.text() << Qt::endl;
        return 1;
    }
    return done && !prompts.failed() ? 0 : 1;
}

int guarded(QTextStream &err, const std::function<bool(CliPrompts &)> &command) {
    CliPrompts prompts(err);
    return guarded(err, prompts, [&] { return command(prompts); });
}
