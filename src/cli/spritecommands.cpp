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

} // namespace

int runExportSprites(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    std::optional<QString> start, end;
    const bool png = names.removeAll(QStringLiteral("--png")) > 0;
    if (!takeOption(names, QStringLiteral("--start"), start) ||
        !takeOption(names, QStringLiteral("--end"), end))
        return misused(err, QStringLiteral("--start and --end need a sprite number"));
    if (names.size() != 2)
        return misused(err, QStringLiteral("export-sprites takes a style file and a folder"));
    const std::optional<int> first = start ? numberArgument(*start) : 0;
    const std::optional<int> last = end ? numberArgument(*end) : std::nullopt;
    if (!first || (end && !last))
        return misused(err, QStringLiteral("--start and --end need a sprite number"));
    ArgumentPrompts prompts(err);
    prompts.queueFolder(names[1]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, names[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        log.clear();
        const int written = exportSpriteRange(doc, *first, last.value_or(doc.spriteCount() - 1), prompts, log,
                                              {}, png ? PictureFormat::Png : PictureFormat::Bmp);
        printLines(out, log.lines());
        if (written > 0)
            out << QStringLiteral("%1 sprites saved to \"%2\"\n").arg(written).arg(names[1]);
        else if (!log.lines().isEmpty())
            prompts.message(QStringLiteral("No sprite of the range has a picture to save."));
        return written > 0;
    });
}

int runImportSprite(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const std::optional<ColoursOption> colours = takeColoursOption(names);
    if (!colours)
        return misused(err, QStringLiteral("--colours takes match, nearest or indexes"));
    std::optional<QString> choiceText, palette;
    if (!takeOption(names, QStringLiteral("--choice"), choiceText) ||
        !takeOption(names, QStringLiteral("--palette"), palette))
        return misused(err, ChoiceRule + QStringLiteral(" and --palette a palette number"));
    if (names.size() != 4)
        return misused(err,
                       QStringLiteral("import-sprite takes a style file, a sprite number, a bitmap and a "
                                      "target name"));
    const std::optional<int> sprite = numberArgument(names[1]);
    const std::optional<SpriteImportChoice> choice =
        choiceText ? importChoiceArgument(*choiceText) : std::nullopt;
    if (!sprite)
        return misused(err, QStringLiteral("\"%1\" is not a sprite number").arg(names[1]));
    if (!choice)
        return misused(err, ChoiceRule);
    // Without a number the picker counts as cancelled, which would write the sprite's own palette.
    if (takesPalette(*choice) != palette.has_value())
        return misused(err, palette ? QStringLiteral("--choice %1 takes no --palette").arg(*choiceText)
                                    : QStringLiteral("--choice %1 needs --palette N").arg(*choiceText));
    ArgumentPrompts prompts(err);
    prompts.setColours(*colours);
    prompts.queueFileName(names[2]);
    prompts.queueChoice(*choice);
    if (palette)
        prompts.queuePalette(*palette);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        if (!loadWithSprite(doc, names[0], *sprite, prompts) || !requirePalettes(doc, prompts))
            return false;
        LineLog log;
        const QImage before = spriteGlyph(doc, *sprite);
        if (!importSprite(doc, *sprite, prompts, log))
            return false;
        printLines(out, log.lines());
        warnTransparency(err, QStringLiteral("sprite %1").arg(*sprite), before, spriteGlyph(doc, *sprite));
        return saveStyle(doc, names[3], prompts, out);
    });
}

int runSpriteInfo(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return misused(err, QStringLiteral("sprite-info takes a style file and a sprite number"));
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

int runRenderSprites(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const bool borders = names.removeAll(QStringLiteral("--borders")) > 0;
    if (names.size() != 2)
        return misused(err, QStringLiteral("render-sprites takes a style file and a picture name"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, names[0], prompts, log))
            return false;
        const QImage strip = buildSpriteOverlay(doc, borders);
        if (strip.isNull()) {
            prompts.message(QStringLiteral("\"%1\" holds no sprite graphics").arg(names[0]));
            return false;
        }
        writePng(strip, names[1]);
        out << QStringLiteral("saved to \"%1\"\n").arg(names[1]);
        return true;
    });
}
