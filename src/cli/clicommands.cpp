#include "clicommands.h"

#include "argumentprompts.h"
#include "carcommands.h"
#include "carscript.h"
#include "commandsupport.h"
#include "deltacommands.h"
#include "editorerror.h"
#include "fileio.h"
#include "foldercommands.h"
#include "jascpalette.h"
#include "log.h"
#include "paletteediting.h"
#include "palettelookup.h"
#include "palettetablefile.h"
#include "progress.h"
#include "rendercommands.h"
#include "samplestyle.h"
#include "spritecommands.h"
#include "spriteoperations.h"
#include "stylecheckcommands.h"
#include "stylewriter.h"
#include "tileoperations.h"
#include "tilepattern.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <functional>

namespace {

const QString Usage =
    QStringLiteral("usage: vyr2-sty COMMAND ARGUMENTS\n"
                   "commands:\n"
                   "  info FILE.sty            show the load log and what the style file holds\n"
                   "  resave IN.sty OUT        load IN and save it as OUT (its extension becomes .sty)\n"
                   "  sample [--large] [--force] OUT\n"
                   "                           write the sample style, or with --large the benchmark\n"
                   "                           style, as OUT and its car script nyc.gci beside it;\n"
                   "                           an existing OUT or nyc.gci is replaced only with --force\n"
                   "  export-palettes FILE.sty OUT.bmp\n"
                   "                           write the palette table of FILE as a 24-bit bitmap\n"
                   "  import-palettes FILE.sty IN.bmp OUT.sty\n"
                   "                           replace the palettes of FILE by a palette table bitmap\n"
                   "                           and save the result as OUT\n"
                   "  add-palettes FILE.sty OUT.sty\n"
                   "  remove-palettes FILE.sty OUT.sty\n"
                   "                           the palette table's \">>\" and \"<<\": up to the next or\n"
                   "                           down to the previous multiple of 64 palettes (64 to\n"
                   "                           640); the palettes added or removed become black\n"
                   "  export-pal FILE.sty PALETTE OUT.pal\n"
                   "                           write physical palette PALETTE as a JASC text palette\n"
                   "  import-pal FILE.sty PALETTE IN.pal OUT.sty\n"
                   "                           read a JASC text palette into physical palette PALETTE\n"
                   "                           and save the result as OUT\n"
                   "  export-tiles FILE.sty DIR [--pattern P]\n"
                   "                           write every tile of FILE as an 8-bit bitmap with its\n"
                   "                           palette into the folder DIR, named by the pattern P\n"
                   "                           (default VYR2_TILE_%d.bmp)\n"
                   "  import-tile FILE.sty TILE IN.bmp OUT.sty [--palette keep | map:N | import:N]\n"
                   "              [--colours match | nearest | indexes]\n"
                   "                           copy a 64*64 8-bit bitmap into tile TILE and save the\n"
                   "                           result as OUT; keep leaves the palettes alone (the\n"
                   "                           default), map:N gives the tile physical palette N, and\n"
                   "                           import:N also writes the bitmap's colours into it\n"
                   "  export-raw-tiles FILE.sty OUT.bmp\n"
                   "                           write the whole tile store as one 8-bit bitmap\n"
                   "  import-raw-tiles FILE.sty IN.bmp OUT.sty [--colours match | nearest | indexes]\n"
                   "                           replace the tile store by an 8-bit bitmap 256 wide and\n"
                   "                           a multiple of 256 high, and save the result as OUT\n"
                   "  render-tiles FILE.sty OUT.png\n"
                   "                           the texture grid as the Textures page shows it\n"
                   "  export-sprites FILE.sty DIR [--start S] [--end E] [--png]\n"
                   "                           write sprites S to E (all by default) as 8-bit\n"
                   "                           bitmaps (--png: palette PNGs) with their palettes\n"
                   "                           into the folder DIR\n"
                   "  import-sprite FILE.sty SPRITE IN.bmp OUT.sty --choice C [--palette N]\n"
                   "              [--colours match | nearest | indexes]\n"
                   "                           copy a bitmap of the sprite's size into it and save\n"
                   "                           the result as OUT; C is the import dialog's result,\n"
                   "                           by code or by name:\n"
                   "                           5 over-current   the colours over the sprite's palette\n"
                   "                           1 into-chosen    the colours into palette N, which\n"
                   "                                            the sprite then uses\n"
                   "                           2 change-only    the sprite uses palette N; no colours\n"
                   "                                            or pixels are imported\n"
                   "                           3 palette-hack   the colours into palette N only\n"
                   "                           4 pixels-only    the pixels only\n"
                   "                           choices 1 to 3 need --palette N, 4 and 5 take none\n"
                   "  export-raw-sprites FILE.sty OUT.bmp\n"
                   "                           write the whole sprite store as one 8-bit bitmap\n"
                   "  import-raw-sprites FILE.sty IN.bmp OUT.sty [--colours match | nearest | indexes]\n"
                   "                           replace the sprite store by an 8-bit bitmap 256 wide\n"
                   "                           and a multiple of 256 high, and save the result as OUT\n"
                   "  sprite-info FILE.sty SPRITE\n"
                   "                           show what the info panel shows for the sprite\n"
                   "  render-sprites FILE.sty OUT.png [--borders]\n"
                   "                           the sprite pages as the Sprites page shows them\n"
                   "  deltas FILE.sty SPRITE OUT.bmp [--view draw | cars | changes]\n"
                   "                           write the delta sheet of sprite SPRITE as an 8-bit\n"
                   "                           bitmap: each delta over the sprite (draw, the\n"
                   "                           default), the plain sprite (cars) or the deltas alone\n"
                   "                           (changes); only the draw sheet imports back as the\n"
                   "                           same drawing\n"
                   "  import-deltas FILE.sty SPRITE SHEET.bmp OUT.sty\n"
                   "                           make the twenty cells of a delta sheet the deltas of\n"
                   "                           car sprite SPRITE and save the result as OUT\n"
                   "  publish-car FILE.sty SPRITE NAME\n"
                   "                           write NAME.zip (the car's bitmap, its delta sheet,\n"
                   "                           its GIF picture and readme.txt) and NAME.gif\n"
                   "  car-info FILE.sty CAR    every field of car record CAR, its doors, its script\n"
                   "                           name and its physics from the nyc.gci beside FILE\n"
                   "  mirror-doors IN.sty OUT  move every door of every car to the other side and\n"
                   "                           save the result as OUT\n"
                   "  unpack FILE.sty DIR      write FILE as the folder DIR: style.json, cars.txt,\n"
                   "                           a palette PNG per tile, sprite and delta sheet, the\n"
                   "                           palettes as PNG and JASC text, unknown chunks in raw/\n"
                   "  unpack --update FILE.sty DIR\n"
                   "                           bring the existing folder DIR in step with FILE:\n"
                   "                           rewrite the files that changed, remove those of\n"
                   "                           graphics that are gone; dot files and extra/ stay\n"
                   "  pack DIR OUT.sty [--keep-unknown] [--colours C]\n"
                   "                           build the style file of such a folder and save it as\n"
                   "                           OUT; --keep-unknown also writes the raw/ chunks;\n"
                   "                           DIR is then brought in step with OUT\n"
                   "  check FILE.sty           list what would trip the game or the editor, one\n"
                   "                           \"error: \" or \"warning: \" line each; exit status 1\n"
                   "                           when any is an error\n"
                   "  diff A.sty B.sty [--png OUT.png]\n"
                   "                           list what differs, one line each, and with --png draw\n"
                   "                           each changed tile and sprite before and after; exit\n"
                   "                           status 0 when equal, 1 when they differ, 2 on error\n"
                   "  --help                   show this list\n"
                   "Every command that reads a style file reports what the reader warns of (a\n"
                   "chunk cut short, bytes ignored, a chunk that repeats, no palettes) as\n"
                   "\"warning: FILE: ...\" lines on standard error; --strict refuses such a file.\n"
                   "Every bitmap a graphics command writes or reads may also be a PNG with a\n"
                   "palette: a name ending in .png writes one, and one is read where a bitmap is.\n"
                   "Imports that keep the palette a graphic shows (--palette keep, the sprite choice\n"
                   "pixels only, the raw stores) give each pixel the index of its colour in that\n"
                   "palette, and also take true-colour files (16-, 24- and 32-bit bitmaps, RGB and\n"
                   "RGBA PNGs; a fully transparent pixel is index 0). --colours says what\n"
                   "happens to colours the palette lacks: match refuses the import (the default),\n"
                   "nearest takes the nearest colours, indexes keeps the stored indexes.\n");

constexpr const char *PaletteKindNames[] = {"tile",           "sprite",        "car_remap",  "ped_remap",
                                            "code_obj_remap", "map_obj_remap", "user_remap", "font_remap"};
constexpr const char *SpriteKindNames[] = {"car", "ped", "code_obj", "map_obj", "user", "font"};

const QString ColoursUsage = QStringLiteral("--colours takes match, nearest or indexes");

int usageError(QTextStream &err, const QString &problem) {
    err << "vyr2-sty: " << problem << Qt::endl << Usage;
    return 1;
}

template <std::size_t N>
QString namedCounts(const std::array<quint16, N> &counts, const char *const (&names)[N]) {
    QStringList parts;
    for (std::size_t k = 0; k < N; ++k)
        parts << QStringLiteral("%1 %2").arg(QLatin1String(names[k])).arg(counts[k]);
    return parts.join(QStringLiteral(", "));
}

// Lengths of the lists in the surface words, each ended by a 0 word.
QString surfaceSummary(const StyleDocument &doc) {
    QStringList lengths;
    int length = 0;
    for (const quint16 word : doc.SurfaceLists) {
        if (word == 0) {
            lengths << QString::number(length);
            length = 0;
        } else {
            ++length;
        }
    }
    QString text = QStringLiteral("surface lists: %1").arg(lengths.size());
    if (!lengths.isEmpty())
        text += QStringLiteral(" (lengths %1)").arg(lengths.join(QStringLiteral(", ")));
    if (length > 0)
        text += QStringLiteral(", and %1 words not ended by 0").arg(length);
    return text;
}

void printSummary(QTextStream &out, const StyleDocument &doc) {
    out << QStringLiteral("tile pages: %1, tiles: %2\n")
               .arg(doc.tilePageCount())
               .arg(doc.tilePageCount() * TilesPerPage);
    out << QStringLiteral("sprite pages: %1, sprites: %2\n")
               .arg(doc.spritePageCount())
               .arg(doc.spriteCount());
    out << QStringLiteral("physical palettes: %1\n").arg(doc.PhysicalPaletteCount);
    out << QStringLiteral("virtual palettes: %1 (%2)\n")
               .arg(doc.PaletteIndexCount())
               .arg(namedCounts(doc.PaletteCounts, PaletteKindNames));
    out << QStringLiteral("sprites per kind: %1\n").arg(namedCounts(doc.SpriteBases, SpriteKindNames));
    out << QStringLiteral("cars: %1\n").arg(doc.CarCount());
    out << QStringLiteral("delta entries: %1, delta bytes: %2\n")
               .arg(doc.DeltaIndexCount())
               .arg(doc.DeltaStoreSize());
    out << surfaceSummary(doc) << '\n';
    QStringList models;
    for (const quint8 model : doc.RecycleList)
        models << QString::number(model);
    out << QStringLiteral("recycle list: %1\n")
               .arg(models.isEmpty() ? QStringLiteral("empty") : models.join(' '));
}

// Whether a command takes a file without palettes: only the palette table import does, which is
// how such a file gets them.
enum class Palettes { Required, Optional };

// Loads `style`, runs the command on it (with the palette picture) and, when it changed the document
// without a complaint, prints what the command logged and saves the document as `target`.

int changeLogged(QTextStream &out, QTextStream &err, ArgumentPrompts &prompts, const QString &style,
                 const QString &target, const std::function<bool(StyleDocument &, Prompts &, Log &)> &command,
                 Palettes palettes = Palettes::Required) {
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog loadLog;
        if (!loadStyle(doc, style, prompts, loadLog) ||
            (palettes == Palettes::Required && !requirePalettes(doc, prompts)))
            return false;
        LineLog log;
        if (!command(doc, prompts, log) || prompts.failed())
            return false;
        printLines(out, log.lines());
        return saveStyle(doc, target, prompts, out);
    });
}

int changePalettes(QTextStream &out, QTextStream &err, ArgumentPrompts &prompts, const QString &style,
                   const QString &target, const std::function<bool(StyleDocument &, Prompts &)> &command,
                   Palettes palettes = Palettes::Required) {
    return changeLogged(
        out, err, prompts, style, target,
        [&](StyleDocument &doc, Prompts &p, Log &) { return command(doc, p); }, palettes);
}

// Loads `style` and runs the export on it; the export returns the name it wrote.
int exportFrom(QTextStream &out, QTextStream &err, ArgumentPrompts &prompts, const QString &style,
               const std::function<QString(const StyleDocument &, Prompts &)> &command) {
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, style, prompts, log) || !requirePalettes(doc, prompts))
            return false;
        const QString path = command(doc, prompts);
        if (!path.isEmpty())
            out << QStringLiteral("saved to \"%1\"\n").arg(path);
        return !path.isEmpty();
    });
}

} // namespace

int runInfo(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 1)
        return usageError(err, QStringLiteral("info takes one style file"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        printLines(out, log.lines());
        printSummary(out, doc);
        return true;
    });
}

int runResave(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return usageError(err, QStringLiteral("resave takes a style file and a target name"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        return saveStyle(doc, args[1], prompts, out);
    });
}

int runSample(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const bool large = names.removeAll(QStringLiteral("--large")) > 0;
    const bool force = names.removeAll(QStringLiteral("--force")) > 0;
    if (names.size() != 1)
        return usageError(err, QStringLiteral("sample takes one target name"));
    return guarded(err, [&](CliPrompts &prompts) {
        // A modder's own style file or car script of the same name is not overwritten unasked.
        const QString target = withExtension(names[0], QStringLiteral(".sty"));
        for (const QString &path : {target, QFileInfo(target).dir().filePath(CompanionScriptName)}) {
            const QFileInfo existing(path);
            if (!force && (existing.exists() || existing.isSymLink())) {
                prompts.message(
                    QStringLiteral("\"%1\" exists; nothing was written (--force replaces it).").arg(path));
                return false;
            }
        }
        StyleDocument doc = large ? makeLargeSampleStyle() : makeSampleStyle();
        SilentProgress progress;
        LineLog log;
        const QString path = writeStyle(doc, names[0], prompts, progress, log);
        if (path.isEmpty())
            return false;
        printLines(out, log.lines());
        const QString script = QFileInfo(path).dir().filePath(CompanionScriptName);
        writeWholeFileAtomic(script, carScriptBytes(makeSampleCarScript(doc)));
        out << QStringLiteral("car script saved to \"%1\"\n").arg(script);
        return true;
    });
}

int runExportPalettes(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return usageError(err, QStringLiteral("export-palettes takes a style file and a bitmap name"));
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[1]);
    return exportFrom(out, err, prompts, args[0],
                      [](const StyleDocument &doc, Prompts &p) { return exportPaletteTable(doc, p); });
}

int runImportPalettes(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 3)
        return usageError(err,
                          QStringLiteral("import-palettes takes a style file, a bitmap and a target name"));
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[1]);
    return changePalettes(out, err, prompts, args[0], args[2], importPaletteTable, Palettes::Optional);
}

int runPaletteBlock(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return usageError(err, command + QStringLiteral(" takes a style file and a target name"));
    ArgumentPrompts prompts(err);
    prompts.queueAnswer(Answer::Yes);
    return changePalettes(out, err, prompts, args[0], args[1],
                          command == QLatin1String("add-palettes") ? addPalettes : removePalettes);
}

int runExportPal(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 3)
        return usageError(err,
                          QStringLiteral("export-pal takes a style file, a palette number and a .pal name"));
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[2]);
    prompts.queuePalette(args[1]);
    return exportFrom(out, err, prompts, args[0], exportJascPalette);
}

int runImportPal(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 4)
        return usageError(
            err,
            QStringLiteral("import-pal takes a style file, a palette number, a .pal file and a target name"));
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[2]);
    prompts.queuePalette(args[1]);
    return changePalettes(out, err, prompts, args[0], args[3], importJascPalette);
}

int runExportTiles(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    QString pattern = DefaultTilePattern;
    const qsizetype option = names.indexOf(QStringLiteral("--pattern"));
    if (option >= 0) {
        if (option + 1 >= names.size())
            return usageError(err, QStringLiteral("--pattern needs a file name pattern"));
        pattern = names[option + 1];
        names.remove(option, 2);
    }
    if (names.size() != 2)
        return usageError(err, QStringLiteral("export-tiles takes a style file and a folder"));
    // The editor appends the name to the typed text directly; a folder given here gets its separator.
    QString directory = names[1];
    if (!directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QLatin1Char('\\')))
        directory += QLatin1Char('/');
    ArgumentPrompts prompts(err);
    prompts.queueInput(directory);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, names[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        QString lastDirectory;
        SilentProgress progress;
        const int written = exportAllTiles(doc, pattern, lastDirectory, prompts, progress);
        if (written > 0)
            out << QStringLiteral("%1 tiles saved to \"%2\"\n").arg(written).arg(directory);
        return written > 0;
    });
}

int runImportTile(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const std::optional<ColoursOption> colours = takeColoursOption(names);
    if (!colours)
        return usageError(err, ColoursUsage);
    QString choice = QStringLiteral("keep");
    const qsizetype option = names.indexOf(QStringLiteral("--palette"));
    if (option >= 0) {
        if (option + 1 >= names.size())
            return usageError(err, QStringLiteral("--palette needs keep, map:N or import:N"));
        choice = names[option + 1];
        names.remove(option, 2);
    }
    if (names.size() != 4)
        return usageError(
            err, QStringLiteral("import-tile takes a style file, a tile number, a bitmap and a target name"));
    bool isNumber = false;
    const int tile = names[1].toInt(&isNumber);
    if (!isNumber)
        return usageError(err, QStringLiteral("\"%1\" is not a tile number").arg(names[1]));
    ArgumentPrompts prompts(err);
    prompts.setColours(*colours);
    prompts.queueFileName(names[2]);
    const QString palette = choice.section(QLatin1Char(':'), 1);
    if (choice == QLatin1String("keep"))
        prompts.queueAnswer(Answer::Cancel);
    else if (choice.startsWith(QLatin1String("map:")) && !palette.isEmpty())
        prompts.queueAnswer(Answer::No);
    else if (choice.startsWith(QLatin1String("import:")) && !palette.isEmpty())
        prompts.queueAnswer(Answer::Yes);
    else
        return usageError(err,
                          QStringLiteral("--palette takes keep, map:N or import:N, not \"%1\"").arg(choice));
    if (!palette.isEmpty())
        prompts.queuePalette(palette);
    return changeLogged(
        out, err, prompts, names[0], names[3], [tile, &err](StyleDocument &doc, Prompts &p, Log &log) {
            const QImage before = tileBitmap(doc, tile);
            if (!importTile(doc, tile, DefaultTilePattern, p, log))
                return false;
            warnTransparency(err, QStringLiteral("tile %1").arg(tile), before, tileBitmap(doc, tile));
            return true;
        });
}

int runExportRaw(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return usageError(err, command + QStringLiteral(" takes a style file and a bitmap name"));
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[1]);
    return exportFrom(out, err, prompts, args[0],
                      command == QLatin1String("export-raw-tiles") ? exportRawTiles : exportRawSprites);
}

int runImportRaw(const QString &command, const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const std::optional<ColoursOption> colours = takeColoursOption(names);
    if (!colours)
        return usageError(err, ColoursUsage);
    if (names.size() != 3)
        return usageError(err, command + QStringLiteral(" takes a style file, a bitmap and a target name"));
    ArgumentPrompts prompts(err);
    prompts.setColours(*colours);
    prompts.queueFileName(names[1]);
    const bool tiles = command == QLatin1String("import-raw-tiles");
    return changeLogged(
        out, err, prompts, names[0], names[2], [tiles, &err](StyleDocument &doc, Prompts &p, Log &log) {
            const QImage before = tiles ? doc.TileStore : doc.SpriteStore;
            if (!(tiles ? importRawTiles(doc, p, log) : importRawSprites(doc, p, log)))
                return false;
            warnTransparency(
                err, tiles ? QStringLiteral("the tile graphics") : QStringLiteral("the sprite graphics"),
                before, tiles ? doc.TileStore : doc.SpriteStore);
            return true;
        });
}

int runCommandLine(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty())
        return usageError(err, QStringLiteral("no command given"));
    const QString command = args[0];
    QStringList rest = args.mid(1);
    const bool strict = rest.removeAll(QStringLiteral("--strict")) > 0;
    if (strict && (command == QLatin1String("sample") || command == QLatin1String("pack")))
        return usageError(err,
                          QStringLiteral("%1 reads no style file; --strict does not apply").arg(command));
    setReaderWarnings(strict ? ReaderWarnings::Refused : ReaderWarnings::Reported);
    if (command == QLatin1String("--help")) {
        out << Usage;
        return 0;
    }
    if (command == QLatin1String("info"))
        return runInfo(rest, out, err);
    if (command == QLatin1String("resave"))
        return runResave(rest, out, err);
    if (command == QLatin1String("sample"))
        return runSample(rest, out, err);
    if (command == QLatin1String("export-palettes"))
        return runExportPalettes(rest, out, err);
    if (command == QLatin1String("import-palettes"))
        return runImportPalettes(rest, out, err);
    if (command == QLatin1String("add-palettes") || command == QLatin1String("remove-palettes"))
        return runPaletteBlock(command, rest, out, err);
    if (command == QLatin1String("export-pal"))
        return runExportPal(rest, out, err);
    if (command == QLatin1String("import-pal"))
        return runImportPal(rest, out, err);
    if (command == QLatin1String("export-tiles"))
        return runExportTiles(rest, out, err);
    if (command == QLatin1String("import-tile"))
        return runImportTile(rest, out, err);
    if (command == QLatin1String("export-raw-tiles") || command == QLatin1String("export-raw-sprites"))
        return runExportRaw(command, rest, out, err);
    if (command == QLatin1String("import-raw-tiles") || command == QLatin1String("import-raw-sprites"))
        return runImportRaw(command, rest, out, err);
    if (command == QLatin1String("render-tiles"))
        return runRenderTiles(rest, out, err);
    if (command == QLatin1String("export-sprites"))
        return runExportSprites(rest, out, err);
    if (command == QLatin1String("import-sprite"))
        return runImportSprite(rest, out, err);
    if (command == QLatin1String("sprite-info"))
        return runSpriteInfo(rest, out, err);
    if (command == QLatin1String("render-sprites"))
        return runRenderSprites(rest, out, err);
    if (command == QLatin1String("deltas"))
        return runDeltas(rest, out, err);
    if (command == QLatin1String("import-deltas"))
        return runImportDeltas(rest, out, err);
    if (command == QLatin1String("publish-car"))
        return runPublishCar(rest, out, err);
    if (command == QLatin1String("car-info"))
        return runCarInfo(rest, out, err);
    if (command == QLatin1String("mirror-doors"))
        return runMirrorDoors(rest, out, err);
    if (command == QLatin1String("unpack"))
        return runUnpack(rest, out, err);
    if (command == QLatin1String("pack"))
        return runPack(rest, out, err);
    if (command == QLatin1String("check"))
        return runCheck(rest, out, err);
    if (command == QLatin1String("diff"))
        return runDiff(rest, out, err);
    return usageError(err, QStringLiteral("unknown command \"%1\"").arg(command));
}
