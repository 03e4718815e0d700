#include "stylecheckcommands.h"

#include "commandsupport.h"
#include "fileio.h"
#include "log.h"
#include "stylecheck.h"
#include "stylediff.h"

#include <QTextStream>

namespace {

// The exit statuses of check and diff, as diff(1) has them: 1 for what was found, 2 when a file
// could not be read.
constexpr int NothingFound = 0;
constexpr int Found = 1;
constexpr int Trouble = 2;

} // namespace

int runCheck(const CommandArguments &args, QTextStream &out, QTextStream &err) {
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
    if (status != 0)
        return Trouble;
    return errors ? Found : NothingFound;
}

int runDiff(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<QString> png = args.value(QStringLiteral("--png"));
    StyleDiff diff;
    const int status = guarded(err, [&](CliPrompts &prompts) {
        StyleDocument a, b;
        LineLog log;
        if (!loadStyle(a, args[0], prompts, log) || !loadStyle(b, args[1], prompts, log))
            return false;
        diff = diffStyles(a, b, readWholeFile(args[0]), readWholeFile(args[1]));
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
        return Trouble;
    return diff.equal() ? NothingFound : Found;
}
