#include "spritecommands.h"

#include "argumentprompts.h"
#include "carrecords.h"
#include "commandsupport.h"
#include "editorerror.h"
#include "fileio.h"
#include "log.h"
#include "palettelookup.h"
#include "spriteentries.h"
#include "spriteoperations.h"
#include "spritepages.h"

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
        misused(err, QStringLiteral("--colours takes match, nearest or indexes"));
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

} // namespace

int runExportSprites(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<QString> start = args.value(QStringLiteral("--start"));
    const std::optional<QString> end = args.value(QStringLiteral("--end"));
    const bool png = args.has(QStringLiteral("--png"));
    const std::optional<int> first = start ? numberArgument(*start) : 0;
    const std::optional<int> last = end ? numberArgument(*end) : std::nullopt;
    if (!first || (end && !last))
        return misused(err, QStringLiteral("--start and --end need a sprite number"));
    if (last && *first > *last)
        return misused(err, QStringLiteral("--start %1 comes after --end %2").arg(*first).arg(*last));
    ArgumentPrompts prompts(err);
    prompts.queueFolder(args[1]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts) ||
            !makeFolder(args[1], prompts))
            return false;
        log.clear();
        const int written = exportSpriteRange(doc, *first, last.value_or(doc.spriteCount() - 1), prompts, log,
                                              {}, png ? PictureFormat::Png : PictureFormat::Bmp);
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
    prompts.queueFileName(args[2]);
    prompts.queueChoice(options->choice);
    if (options->palette)
        prompts.queuePalette(*options->palette);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        if (!loadWithSprite(doc, args[0], *sprite, prompts) || !requirePalettes(doc, prompts))
            return false;
        QImage clut1 = makeClut1(doc);
        LineLog log;
        const QImage before = spriteGlyph(doc, *sprite);
        if (!importSprite(doc, clut1, *sprite, prompts, log))
            return false;
        printLines(out, log.lines());
        warnTransparency(err, QStringLiteral("sprite %1").arg(*sprite), before, spriteGlyph(doc, *sprite));
        return saveStyle(doc, args[3], prompts, out);
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
        printLines(out, spriteInfoPanel(doc, *sprite));
        return true;
    });
}

int runRenderSprites(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const bool borders = args.has(QStringLiteral("--borders"));
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
        writePng(strip, args[1]);
        out << QStringLiteral("saved to \"%1\"\n").arg(args[1]);
        return true;
    });
}
