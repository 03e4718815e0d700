#include "cli/spritecommands.h"

#include "cars/carrecords.h"
#include "cli/argumentprompts.h"
#include "cli/commandsupport.h"
#include "cli/folderprompts.h"
#include "cli/jsonoutput.h"
#include "cli/terminalprogress.h"
#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "graphics/spritepages.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTextStream>

namespace {

// Loads the style and checks the sprite number against it.
bool loadWithSprite(StyleDocument &doc, const QString &path, int sprite, CliPrompts &prompts) {
    LineLog log;
    if (!loadStyle(doc, path, prompts, log))
        return false;
    if (inRange(0, doc.spriteCount(), sprite))
        return true;
    prompts.message(QStringLiteral("There is no sprite %1; the style has %2 sprites.")
                        .arg(sprite)
                        .arg(doc.spriteCount()));
    return false;
}

struct NamedChoice {
    const char *name;
    SpriteImportChoice choice;
};

const NamedChoice ImportChoices[] = {
    {"into-chosen", SpriteImportChoice::ImportIntoChosen},
    {"change-only", SpriteImportChoice::ChangePaletteOnly},
    {"palette-hack", SpriteImportChoice::PaletteHack},
    {"pixels-only", SpriteImportChoice::PixelsOnly},
    {"over-current", SpriteImportChoice::ImportOverCurrent},
};

const QString ChoiceRule = QStringLiteral(
    "--choice needs one of 5 or over-current, 1 or into-chosen, 2 or change-only, 3 or palette-hack, 4 or "
    "pixels-only");

// --choice takes the import dialog's result code or its name.
std::optional<SpriteImportChoice> importChoiceArgument(const QString &text) {
    for (const NamedChoice &named : ImportChoices)
        if (text == QLatin1String(named.name) || text == QString::number(int(named.choice)))
            return named.choice;
    return std::nullopt;
}

// The choices that open the palette picker.
bool takesPalette(SpriteImportChoice choice) {
    return choice == SpriteImportChoice::ImportIntoChosen ||
           choice == SpriteImportChoice::ChangePaletteOnly || choice == SpriteImportChoice::PaletteHack;
}

struct SpriteImportOptions {
    SpriteImportChoice choice;
    std::optional<QString> palette;
    ColoursOption colours;
};

// --choice, --palette and --colours of a sprite import, checked against each other; nothing, with
// the problem on `err`, when they do not fit.
std::optional<SpriteImportOptions> spriteImportOptions(const CommandArguments &args, QTextStream &err) {
    const std::optional<ColoursOption> colours = coloursOption(args);
    if (!colours) {
        misused(err, ColoursUsage);
        return std::nullopt;
    }
    const QString choiceText = args.value(QStringLiteral("--choice")).value_or(QString());
    const std::optional<QString> palette = args.value(QStringLiteral("--palette"));
    const std::optional<SpriteImportChoice> choice = importChoiceArgument(choiceText);
    if (!choice) {
        misused(err, ChoiceRule);
        return std::nullopt;
    }
    // Without a number the picker counts as cancelled, which would write the sprite's own palette.
    if (takesPalette(*choice) != palette.has_value()) {
        misused(err, palette ? QStringLiteral("--choice %1 takes no --palette").arg(choiceText)
                             : QStringLiteral("--choice %1 needs --palette N").arg(choiceText));
        return std::nullopt;
    }
    return SpriteImportOptions{*choice, palette, *colours};
}

// --start S and --end E of a range of sprites: from S (0 when absent) to E (the last sprite when
// absent).
struct SpriteRange {
    int first;
    std::optional<int> last;
};

std::optional<SpriteRange> spriteRange(const CommandArguments &args, QTextStream &err) {
    const std::optional<QString> start = args.value(QStringLiteral("--start"));
    const std::optional<QString> end = args.value(QStringLiteral("--end"));
    const std::optional<int> first = start ? numberArgument(*start) : 0;
    const std::optional<int> last = end ? numberArgument(*end) : std::nullopt;
    if (!first || (end && !last)) {
        misused(err, QStringLiteral("--start and --end need a sprite number"));
        return std::nullopt;
    }
    if (last && *first > *last) {
        misused(err, QStringLiteral("--start %1 comes after --end %2").arg(*first).arg(*last));
        return std::nullopt;
    }
    return SpriteRange{*first, last};
}

// sprite-info --json: the info panel's lines as keys. The panel starts with the sprite's kind and
// its number in the kind; its other lines are "Caption: value", the caption becoming the key in
// lower case with "_" for spaces, a whole number its value as a number, a quoted name unquoted.
QJsonObject panelJson(int sprite, const QStringList &panel) {
    QJsonObject object{{QStringLiteral("sprite"), sprite},
                       {QStringLiteral("kind"), panel.value(0).toLower()},
                       {QStringLiteral("number_in_kind"), panel.value(1).toInt()}};
    for (const QString &line : panel.mid(2)) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QString key = line.left(colon).toLower().replace(QLatin1Char(' '), QLatin1Char('_'));
        QString value = line.mid(colon + 2);
        bool number = false;
        const int whole = value.toInt(&number);
        if (number) {
            object.insert(key, whole);
            continue;
        }
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        object.insert(key, value);
    }
    return object;
}

// Tells the progress bar of each sprite of the range `first` to `last` as it is handled.
std::function<void(int)> showProgress(int first, int last) {
    Progress &progress = TerminalProgress::instance();
    progress.setMaximum(last - first + 1);
    return [&progress, first](int sprite) {
        progress.setPosition(sprite - first);
    };
}

} // namespace

int runExportSprites(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<SpriteRange> range = spriteRange(args, err);
    if (!range)
        return UsageStatus;
    const bool png = args.has(QStringLiteral("--png"));
    ArgumentPrompts prompts(err);
    prompts.queueFolder(args[1]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts) ||
            !makeFolder(args[1], prompts))
            return false;
        log.clear();
        const int last = range->last.value_or(doc.spriteCount() - 1);
        const int written =
            exportSpriteRange(doc, range->first, last, prompts, log, showProgress(range->first, last),
                              png ? PictureFormat::Png : PictureFormat::Bmp);
        printLines(out, log.lines());
        if (written > 0)
            out << QStringLiteral("%1 sprites saved to \"%2\"\n").arg(written).arg(args[1]);
        else if (!log.lines().isEmpty())
            prompts.message(QStringLiteral("No sprite of the range has a picture to save."));
        return written > 0;
    });
}

int runImportSprite(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<SpriteImportOptions> options = spriteImportOptions(args, err);
    if (!options)
        return UsageStatus;
    const std::optional<int> sprite = numberArgument(args[1]);
    if (!sprite)
        return misused(err, QStringLiteral("\"%1\" is not a sprite number").arg(args[1]));
    ArgumentPrompts prompts(err);
    prompts.setColours(options->colours);
    prompts.queueChoice(options->choice);
    if (options->palette)
        prompts.queuePalette(*options->palette);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        if (!loadWithSprite(doc, args[0], *sprite, prompts) || !requirePalettes(doc, prompts))
            return false;
        LineLog log;
        const QImage before = spriteGlyph(doc, *sprite);
        if (!importSprite(doc, *sprite, PictureSource::file(args[2]), prompts, log))
            return false;
        printLines(out, log.lines());
        warnTransparency(err, QStringLiteral("sprite %1").arg(*sprite), before, spriteGlyph(doc, *sprite));
        return saveStyle(doc, args[3], prompts, out);
    });
}

int runImportSprites(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<SpriteImportOptions> options = spriteImportOptions(args, err);
    if (!options)
        return UsageStatus;
    const std::optional<SpriteRange> range = spriteRange(args, err);
    if (!range)
        return UsageStatus;
    FolderPrompts prompts(err, args[1]);
    prompts.setColours(options->colours);
    prompts.setChoice(options->choice);
    prompts.setPalette(options->palette);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        if (!loadForBatch(doc, args[0], args[1], prompts))
            return false;
        LineLog log;
        QImage before;
        int imported = 0;
        const int last = range->last.value_or(doc.spriteCount() - 1);
        const std::function<void(int)> shown = showProgress(range->first, last);
        const auto fileOf = [&](int sprite) -> std::optional<PictureSource> {
            // The names export-sprites writes, as bitmaps or with --png.
            const QString name = SpriteFileName(doc, sprite);
            const std::optional<QString> path =
                prompts.beginGraphic({name, QFileInfo(name).completeBaseName() + QStringLiteral(".png")});
            return path ? std::optional(PictureSource::file(*path)) : std::nullopt;
        };
        const auto select = [&](int sprite) {
            shown(sprite);
            before = spriteGlyph(doc, sprite);
        };
        const auto done = [&](int sprite) {
            warnTransparency(err, QStringLiteral("sprite %1").arg(sprite), before, spriteGlyph(doc, sprite));
            ++imported;
        };
        importSpriteRange(doc, range->first, last, fileOf, prompts, log, select, done);
        prompts.endGraphics();
        if (imported != prompts.filesGiven())
            prompts.stop(QStringLiteral("A sprite file of \"%1\" was not imported.").arg(args[1]));
        if (imported == 0)
            prompts.stop(QStringLiteral("\"%1\" holds no file of a sprite of the range.").arg(args[1]));
        printLines(out, log.lines());
        out << QStringLiteral("%1 sprites imported from \"%2\"\n").arg(imported).arg(args[1]);
        return saveStyle(doc, args[2], prompts, out);
    });
}

int runSpriteInfo(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<int> sprite = numberArgument(args[1]);
    if (!sprite)
        return misused(err, QStringLiteral("\"%1\" is not a sprite number").arg(args[1]));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        if (!loadWithSprite(doc, args[0], *sprite, prompts))
            return false;
        const QStringList panel = spriteInfoPanel(doc, *sprite);
        if (args.has(QStringLiteral("--json")))
            printJson(out, panelJson(*sprite, panel));
        else
            printLines(out, panel);
        return true;
    });
}

int runRenderSprites(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const bool borders = args.has(QStringLiteral("--borders"));
    const std::optional<int> scale = scaleOption(args);
    if (!scale)
        return misused(err, ScaleUsage);
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        const QImage strip = buildSpriteOverlay(doc, borders);
        if (strip.isNull()) {
            prompts.message(QStringLiteral("\"%1\" holds no sprite graphics").arg(args[0]));
            return false;
        }
        writeRendering(out, strip, *scale, args[1]);
        if (!isStandardOutput(args[1]))
            out << QStringLiteral("saved to \"%1\"\n").arg(args[1]);
        return true;
    });
}
