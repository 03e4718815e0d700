#include "stylecheckcommands.h"

#include "commandsupport.h"
#include "fileio.h"
#include "log.h"
#include "stylecheck.h"
#include "stylediff.h"

#include <QTextStream>

namespace {

// diff's exit statuses, as diff(1) has them.
constexpr int DiffEqual = 0;
constexpr int DiffDiffers = 1;
constexpr int DiffTrouble = 2;

} // namespace

int runCheck(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 1)
        return misused(err, QStringLiteral("check takes a style file"));
    bool errors = false;
    const int status = guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log, WarningsShown::ByCaller))
            return false;
        // What the reader warned of heads the list: the file on disk is not what the game reads.
        for (const QString &warning : log.warnings())
            out << "warning: " << warning << '\n';
        for (const CheckFinding &finding : checkStyle(doc)) {
            out << finding.line() << '\n';
            errors = errors || finding.severity == CheckSeverity::Error;
        }
        return true;
    });
    return status != 0 || errors ? 1 : 0;
}

int runDiff(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    std::optional<QString> png;
    if (!takeOption(names, QStringLiteral("--png"), png) || names.size() != 2) {
        misused(err, QStringLiteral("diff takes two style files and --png with a picture name"));
        return DiffTrouble;
    }
    StyleDiff diff;
    const int status = guarded(err, [&](CliPrompts &prompts) {
        StyleDocument a, b;
        LineLog log;
        if (!loadStyle(a, names[0], prompts, log) || !loadStyle(b, names[1], prompts, log))
            return false;
        diff = diffStyles(a, b, readWholeFile(names[0]), readWholeFile(names[1]));
        printLines(out, diff.lines);
        if (png) {
            const QImage picture = diffPicture(a, b, diff);
            if (picture.isNull())
                out << QStringLiteral("no tile or sprite differs in its pixels; \"%1\" not written\n")
                           .arg(*png);
            else
                writePng(picture, *png);
        }
        return true;
    });
    if (status != 0)
        return DiffTrouble;
    return diff.equal() ? DiffEqual : DiffDiffers;
}
