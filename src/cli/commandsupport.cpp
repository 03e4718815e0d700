#include "commandsupport.h"

#include "colourmapping.h"
#include "editorerror.h"
#include "fileio.h"
#include "log.h"
#include "progress.h"
#include "stylereader.h"
#include "stylewriter.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTextStream>

void printLines(QTextStream &out, const QStringList &lines) {
    for (const QString &line : lines)
        out << line << '\n';
}

void warnTransparency(QTextStream &err, const QString &graphic, const QImage &before, const QImage &after) {
    if (const std::optional<QString> change = transparencyChange(before, after))
        err << QStringLiteral("warning: %1: %2.").arg(graphic, *change) << Qt::endl;
}

namespace {

// One command runs per process, and runCommandLine sets this from its arguments each time.
ReaderWarnings readerWarnings = ReaderWarnings::Reported;

} // namespace

void setReaderWarnings(ReaderWarnings handling) {
    readerWarnings = handling;
}

bool loadStyle(StyleDocument &doc, const QString &path, CliPrompts &prompts, LineLog &log,
               WarningsShown shown) {
    SilentProgress progress;
    if (!opensty(doc, path, prompts, progress, log))
        return false;
    const bool refused = readerWarnings == ReaderWarnings::Refused && !log.warnings().isEmpty();
    if (shown == WarningsShown::OnStandardError || refused)
        for (const QString &warning : log.warnings())
            prompts.warning(QStringLiteral("%1: %2").arg(path, warning));
    if (refused) {
        prompts.message(QStringLiteral("%1: not read, --strict refuses a file with warnings").arg(path));
        return false;
    }
    return true;
}

bool requirePalettes(const StyleDocument &doc, Prompts &prompts) {
    if (doc.PhysicalPaletteCount > 0)
        return true;
    prompts.message(NoPalettesMessage);
    return false;
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
        err << terminalLines(error.text()) << Qt::endl;
        return 1;
    } catch (const std::bad_alloc &) {
        err << "There is not enough memory for this command; it was stopped." << Qt::endl;
        return 1;
    }
    return done && !prompts.failed() ? 0 : 1;
}

int guarded(QTextStream &err, const std::function<bool(CliPrompts &)> &command) {
    CliPrompts prompts(err);
    return guarded(err, prompts, [&] { return command(prompts); });
}

int misused(QTextStream &err, const QString &problem) {
    err << "vyr2-sty: " << problem << Qt::endl;
    return 2;
}

std::optional<int> numberArgument(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<ColoursOption> coloursOption(const CommandArguments &args) {
    const std::optional<QString> value = args.value(QStringLiteral("--colours"));
    if (!value || *value == QLatin1String("match"))
        return ColoursOption::Match;
    if (*value == QLatin1String("nearest"))
        return ColoursOption::Nearest;
    if (*value == QLatin1String("indexes"))
        return ColoursOption::Indexes;
    return std::nullopt;
}

bool makeFolder(const QString &path, Prompts &prompts) {
    if (QDir().mkpath(path))
        return true;
    prompts.message(QStringLiteral("The folder \"%1\" could not be made.").arg(path));
    return false;
}

void writePng(const QImage &picture, const QString &path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        throw EditorError(QStringLiteral("The picture for \"%1\" could not be encoded as PNG.").arg(path));
    writeWholeFileAtomic(path, png);
}
