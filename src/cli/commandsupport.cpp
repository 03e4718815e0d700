#include "cli/commandsupport.h"

#include "cli/terminalprogress.h"
#include "palette/colourmapping.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>
#include <cstring>

void printLines(QTextStream &out, const QStringList &lines) {
    for (const QString &line : lines)
        out << line << '\n';
}

void warnTransparency(QTextStream &err, const QString &graphic, const QImage &before, const QImage &after) {
    if (const std::optional<QString> change = transparencyChange(before, after))
        err << QStringLiteral("warning: %1: %2.").arg(graphic, *change) << Qt::endl;
}

namespace {

// One command runs per process, and runCommandLine sets these from its arguments each time.
ReaderWarnings readerWarnings = ReaderWarnings::Reported;
SaveReport saveReport = SaveReport::OneLine;

} // namespace

void setReaderWarnings(ReaderWarnings handling) {
    readerWarnings = handling;
}

void setSaveReport(SaveReport report) {
    saveReport = report;
}

QString wroteLine(const QString &path) {
    const qint64 kib = (QFileInfo(path).size() + 1023) / 1024;
    return QStringLiteral("wrote %1 (%2 KiB)").arg(path).arg(kib);
}

void reportSave(QTextStream &out, const QString &path, const LineLog &log) {
    if (saveReport == SaveReport::ChunkLog)
        printLines(out, log.lines());
    else
        out << wroteLine(path) << '\n';
}

bool loadStyle(StyleDocument &doc, const QString &path, CliPrompts &prompts, LineLog &log,
               WarningsShown shown) {
    Progress &progress = TerminalProgress::instance();
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
    Progress &progress = TerminalProgress::instance();
    LineLog log;
    const QString path = writeStyle(doc, target, prompts, progress, log);
    if (!path.isEmpty())
        reportSave(out, path, log);
    return !path.isEmpty();
}

int guarded(QTextStream &err, CliPrompts &prompts, const std::function<bool()> &command) {
    bool done = false;
    try {
        done = command();
    } catch (const EditorError &error) {
        TerminalProgress::instance().clear();
        err << terminalLines(error.text()) << Qt::endl;
        return 1;
    } catch (const std::bad_alloc &) {
        TerminalProgress::instance().clear();
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

std::optional<TileImportOptions> tileImportOptions(const CommandArguments &args, QTextStream &err) {
    const std::optional<ColoursOption> colours = coloursOption(args);
    if (!colours) {
        misused(err, ColoursUsage);
        return std::nullopt;
    }
    const QString choice = args.value(QStringLiteral("--palette")).value_or(QStringLiteral("keep"));
    const QString palette = choice.section(QLatin1Char(':'), 1);
    if (choice == QLatin1String("keep"))
        return TileImportOptions{*colours, Answer::Cancel, std::nullopt};
    if (choice.startsWith(QLatin1String("map:")) && !palette.isEmpty())
        return TileImportOptions{*colours, Answer::No, palette};
    if (choice.startsWith(QLatin1String("import:")) && !palette.isEmpty())
        return TileImportOptions{*colours, Answer::Yes, palette};
    misused(err, QStringLiteral("--palette takes keep, map:N or import:N, not \"%1\"").arg(choice));
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

bool isStandardOutput(const QString &path) {
    return path == QLatin1String("-");
}

void writeOutput(QTextStream &out, const QString &path, const QByteArray &bytes) {
    if (!isStandardOutput(path)) {
        writeWholeFileAtomic(path, bytes);
        return;
    }
    out.flush();
    if (out.device()->write(bytes) != bytes.size())
        throw EditorError(QStringLiteral("Standard output could not take the whole output."));
}

void writeRendering(QTextStream &out, const QImage &picture, int scale, const QString &path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char *format = isStandardOutput(path) || suffix == QLatin1String("png") ? "PNG"
                         : suffix == QLatin1String("bmp")                         ? "BMP"
                                                                                  : nullptr;
    if (!format)
        throw EditorError(
            QStringLiteral("\"%1\": a picture is written as .png or .bmp, by the name's extension.")
                .arg(path));
    const QImage scaled =
        scale == 1 ? picture
                   : picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (scaled.isNull())
        throw EditorError(QStringLiteral("The picture is too large to scale by %1.").arg(scale));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // A bitmap gets the 24 bits every reader takes; the picture has no transparency to keep.
    if (!(std::strcmp(format, "BMP") == 0 ? scaled.convertToFormat(QImage::Format_RGB888) : scaled)
             .save(&buffer, format))
        throw EditorError(QStringLiteral("The picture for \"%1\" could not be encoded.").arg(path));
    writeOutput(out, path, bytes);
}

std::optional<int> scaleOption(const CommandArguments &args) {
    const std::optional<QString> text = args.value(QStringLiteral("--scale"));
    if (!text)
        return 1;
    const std::optional<int> scale = numberArgument(*text);
    if (!scale || *scale < 1 || *scale > MaxScale)
        return std::nullopt;
    return scale;
}
