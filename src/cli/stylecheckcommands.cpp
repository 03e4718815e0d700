#include "cli/stylecheckcommands.h"

#include "cli/commandsupport.h"
#include "cli/jsonoutput.h"
#include "folder/stylecheck.h"
#include "folder/stylediff.h"
#include "platform/fileio.h"
#include "platform/log.h"

#include <QJsonArray>
#include <QTextStream>

namespace {

// The exit statuses of check and diff, as diff(1) has them: 1 for what was found, 2 when a file
// could not be read.
constexpr int NothingFound = 0;
constexpr int Found = 1;
constexpr int Trouble = 2;

// check --json: the findings, each with its severity, and their counts.
QJsonObject findingsJson(const QString &path, const std::vector<CheckFinding> &findings) {
    QJsonArray list;
    int errors = 0;
    for (const CheckFinding &finding : findings) {
        const bool error = finding.severity == CheckSeverity::Error;
        errors += error ? 1 : 0;
        list.append(QJsonObject{
            {QStringLiteral("severity"), error ? QStringLiteral("error") : QStringLiteral("warning")},
            {QStringLiteral("text"), finding.text}});
    }
    return {{QStringLiteral("file"), path},
            {QStringLiteral("findings"), list},
            {QStringLiteral("errors"), errors},
            {QStringLiteral("warnings"), static_cast<int>(findings.size()) - errors}};
}

} // namespace

int runCheck(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    bool errors = false;
    const int status = guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log, WarningsShown::ByCaller))
            return false;
        // What the reader warned of heads the list: the file on disk is not what the game reads.
        std::vector<CheckFinding> findings;
        for (const QString &warning : log.warnings())
            findings.push_back({CheckSeverity::Warning, warning});
        for (const CheckFinding &finding : checkStyle(doc)) {
            findings.push_back(finding);
            errors = errors || finding.severity == CheckSeverity::Error;
        }
        if (args.has(QStringLiteral("--json"))) {
            printJson(out, findingsJson(args[0], findings));
            return true;
        }
        for (const CheckFinding &finding : findings)
            out << finding.line() << '\n';
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
        if (args.has(QStringLiteral("--json")))
            printJson(out, {{QStringLiteral("a"), args[0]},
                            {QStringLiteral("b"), args[1]},
                            {QStringLiteral("equal"), diff.equal()},
                            {QStringLiteral("differences"), QJsonArray::fromStringList(diff.lines)}});
        else
            printLines(out, diff.lines);
        if (png) {
            const QImage picture = diffPicture(a, b, diff);
            // With --json, standard output holds the document alone.
            if (picture.isNull())
                (args.has(QStringLiteral("--json")) ? err : out)
                    << QStringLiteral("no tile or sprite differs in its pixels; \"%1\" not written\n")
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
