#include "cli/clicommands.h"

#include "cars/carscript.h"
#include "cli/argumentprompts.h"
#include "cli/carcommands.h"
#include "cli/commandsupport.h"
#include "cli/deltacommands.h"
#include "cli/foldercommands.h"
#include "cli/folderprompts.h"
#include "cli/jsonoutput.h"
#include "cli/rendercommands.h"
#include "cli/spritecommands.h"
#include "cli/stylecheckcommands.h"
#include "cli/terminalprogress.h"
#include "folder/folderlayout.h"
#include "graphics/spriteoperations.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "palette/jascpalette.h"
#include "palette/paletteediting.h"
#include "palette/palettelookup.h"
#include "palette/palettetablefile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/filelinks.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/stylewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTextStream>
#include <functional>

namespace {

template <std::size_t N>
QString namedCounts(const std::array<quint16, N> &counts, const std::array<QString, N> &names) {
    QStringList parts;
    for (std::size_t k = 0; k < N; ++k)
        parts << QStringLiteral("%1 %2").arg(names[k]).arg(counts[k]);
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

// The pattern with ".png" for its extension: the tile export writes what the name ends in.
QString withPngExtension(const QString &pattern) {
    const qsizetype dot = pattern.lastIndexOf(QLatin1Char('.'));
    const qsizetype folder =
        std::max(pattern.lastIndexOf(QLatin1Char('/')), pattern.lastIndexOf(QLatin1Char('\\')));
    return (dot > folder ? pattern.left(dot) : pattern) + QStringLiteral(".png");
}

template <std::size_t N>
QJsonObject namedCountsJson(const std::array<quint16, N> &counts, const std::array<QString, N> &names) {
    QJsonObject object;
    for (std::size_t k = 0; k < N; ++k)
        object.insert(names[k], counts[k]);
    return object;
}

// info --json: the summary's figures, with the reader's warnings.
QJsonObject summaryJson(const StyleDocument &doc, const QString &path, const QStringList &warnings) {
    QJsonArray lengths;
    int length = 0;
    for (const quint16 word : doc.SurfaceLists) {
        if (word == 0) {
            lengths.append(length);
            length = 0;
        } else {
            ++length;
        }
    }
    QJsonArray models;
    for (const quint8 model : doc.RecycleList)
        models.append(model);
    return {
        {QStringLiteral("file"), path},
        {QStringLiteral("tile_pages"), doc.tilePageCount()},
        {QStringLiteral("tiles"), doc.tilePageCount() * TilesPerPage},
        {QStringLiteral("sprite_pages"), doc.spritePageCount()},
        {QStringLiteral("sprites"), doc.spriteCount()},
        {QStringLiteral("physical_palettes"), doc.PhysicalPaletteCount},
        {QStringLiteral("virtual_palettes"), doc.PaletteIndexCount()},
        {QStringLiteral("virtual_palettes_per_kind"), namedCountsJson(doc.PaletteCounts, PaletteKindNames)},
        {QStringLiteral("sprites_per_kind"), namedCountsJson(doc.SpriteBases, SpriteKindNames)},
        {QStringLiteral("cars"), doc.CarCount()},
        {QStringLiteral("delta_entries"), doc.DeltaIndexCount()},
        {QStringLiteral("delta_bytes"), doc.DeltaStoreSize()},
        {QStringLiteral("surface_list_lengths"), lengths},
        {QStringLiteral("surface_words_unended"), length},
        {QStringLiteral("recycle_list"), models},
        {QStringLiteral("warnings"), QJsonArray::fromStringList(warnings)},
    };
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

int runInfo(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        if (args.has(QStringLiteral("--json"))) {
            printJson(out, summaryJson(doc, args[0], log.warnings()));
            return true;
        }
        printLines(out, log.lines());
        printSummary(out, doc);
        return true;
    });
}

int runResave(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        return saveStyle(doc, args[1], prompts, out);
    });
}

int runSample(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const bool large = args.has(QStringLiteral("--large"));
    const bool force = args.has(QStringLiteral("--force"));
    return guarded(err, [&](CliPrompts &prompts) {
        // A modder's own style file or car script of the same name is not overwritten unasked.
        const QString target = withExtension(args[0], QStringLiteral(".sty"));
        for (const QString &path : {target, QFileInfo(target).dir().filePath(CompanionScriptName)}) {
            const QFileInfo existing(path);
            if (!force && (existing.exists() || isLink(existing))) {
                prompts.message(
                    QStringLiteral("\"%1\" exists; nothing was written (--force replaces it).").arg(path));
                return false;
            }
        }
        StyleDocument doc = large ? makeLargeSampleStyle() : makeSampleStyle();
        Progress &progress = TerminalProgress::instance();
        LineLog log;
        const QString path = writeStyle(doc, args[0], prompts, progress, log);
        if (path.isEmpty())
            return false;
        reportSave(out, path, log);
        const QString script = QFileInfo(path).dir().filePath(CompanionScriptName);
        writeWholeFileAtomic(script, carScriptBytes(makeSampleCarScript(doc)));
        out << QStringLiteral("car script saved to \"%1\"\n").arg(script);
        return true;
    });
}

int runExportPalettes(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[1]);
    return exportFrom(out, err, prompts, args[0],
                      [](const StyleDocument &doc, Prompts &p) { return exportPaletteTable(doc, p); });
}

int runImportPalettes(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    const QString &file = args[1];
    return changePalettes(
        out, err, prompts, args[0], args[2],
        [&file](StyleDocument &doc, Prompts &p) { return importPaletteTable(doc, file, p); },
        Palettes::Optional);
}

int runPaletteBlock(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    prompts.queueAnswer(Answer::Yes);
    return changePalettes(out, err, prompts, args[0], args[1],
                          args.command == QLatin1String("add-palettes") ? addPalettes : removePalettes);
}

int runExportPal(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    prompts.queuePalette(args[1]);
    if (!isStandardOutput(args[2])) {
        prompts.queueFileName(args[2]);
        return exportFrom(out, err, prompts, args[0], exportJascPalette);
    }
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        // The palette as the picker takes it, so that a wrong number is refused as in a file export.
        const std::optional<int> palette = pickStoredPalette(doc, QStringLiteral("0"), prompts);
        if (!palette)
            return false;
        writeOutput(out, args[2], jascPaletteText(doc, *palette));
        return true;
    });
}

int runImportPal(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    prompts.queuePalette(args[1]);
    const QString &file = args[2];
    return changePalettes(out, err, prompts, args[0], args[3], [&file](StyleDocument &doc, Prompts &p) {
        return importJascPalette(doc, file, p);
    });
}

int runExportTiles(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    QString pattern = args.value(QStringLiteral("--pattern")).value_or(DefaultTilePattern);
    if (args.has(QStringLiteral("--png")))
        pattern = withPngExtension(pattern);
    // The editor appends the name to the typed text directly; a folder given here gets its separator.
    QString directory = args[1];
    if (!directory.endsWith(QLatin1Char('/')) && !directory.endsWith(QLatin1Char('\\')))
        directory += QLatin1Char('/');
    ArgumentPrompts prompts(err);
    prompts.queueInput(directory);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts) ||
            !makeFolder(directory, prompts))
            return false;
        QString lastDirectory;
        Progress &progress = TerminalProgress::instance();
        const int written = exportAllTiles(doc, pattern, lastDirectory, prompts, progress);
        if (written > 0)
            out << QStringLiteral("%1 tiles saved to \"%2\"\n").arg(written).arg(directory);
        return written > 0;
    });
}

int runImportTile(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<TileImportOptions> options = tileImportOptions(args, err);
    if (!options)
        return UsageStatus;
    bool isNumber = false;
    const int tile = args[1].toInt(&isNumber);
    if (!isNumber)
        return misused(err, QStringLiteral("\"%1\" is not a tile number").arg(args[1]));
    ArgumentPrompts prompts(err);
    prompts.setColours(options->colours);
    prompts.queueAnswer(options->answer);
    if (options->palette)
        prompts.queuePalette(*options->palette);
    const PictureSource picture = PictureSource::file(args[2]);
    return changeLogged(out, err, prompts, args[0], args[3],
                        [tile, &picture, &err](StyleDocument &doc, Prompts &p, Log &log) {
                            const QImage before = tileBitmap(doc, tile);
                            if (!importTile(doc, tile, picture, p, log))
                                return false;
                            warnTransparency(err, QStringLiteral("tile %1").arg(tile), before,
                                             tileBitmap(doc, tile));
                            return true;
                        });
}

int runImportTiles(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<TileImportOptions> options = tileImportOptions(args, err);
    if (!options)
        return UsageStatus;
    const QString pattern = args.value(QStringLiteral("--pattern")).value_or(DefaultTilePattern);
    FolderPrompts prompts(err, args[1]);
    prompts.setColours(options->colours);
    prompts.setAnswer(options->answer);
    prompts.setPalette(options->palette);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        if (!loadForBatch(doc, args[0], args[1], prompts))
            return false;
        QString patternError;
        const std::optional<TilePattern> names = TilePattern::parse(pattern, patternError);
        if (!names)
            prompts.stop(patternError);
        LineLog log;
        int imported = 0;
        for (int tile = 0; tile < doc.tilePageCount() * TilesPerPage; ++tile) {
            const std::optional<QString> file = prompts.beginGraphic({names->format(tile)});
            if (!file)
                continue;
            const QImage before = tileBitmap(doc, tile);
            if (!importTile(doc, tile, PictureSource::file(*file), prompts, log))
                prompts.stop(QStringLiteral("Tile %1 was not imported.").arg(tile));
            warnTransparency(err, QStringLiteral("tile %1").arg(tile), before, tileBitmap(doc, tile));
            ++imported;
        }
        prompts.endGraphics();
        if (imported == 0)
            prompts.stop(QStringLiteral("\"%1\" holds no tile file named by the pattern \"%2\".")
                             .arg(args[1], pattern));
        printLines(out, log.lines());
        out << QStringLiteral("%1 tiles imported from \"%2\"\n").arg(imported).arg(args[1]);
        return saveStyle(doc, args[2], prompts, out);
    });
}

int runExportRaw(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[1]);
    return exportFrom(out, err, prompts, args[0],
                      args.command == QLatin1String("export-raw-tiles") ? exportRawTiles : exportRawSprites);
}

int runImportRaw(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<ColoursOption> colours = coloursOption(args);
    if (!colours)
        return misused(err, ColoursUsage);
    ArgumentPrompts prompts(err);
    prompts.setColours(*colours);
    const PictureSource picture = PictureSource::file(args[1]);
    const bool tiles = args.command == QLatin1String("import-raw-tiles");
    return changeLogged(
        out, err, prompts, args[0], args[2],
        [tiles, &picture, &err](StyleDocument &doc, Prompts &p, Log &log) {
            const QImage before = tiles ? doc.TileStore : doc.SpriteStore;
            if (!(tiles ? importRawTiles(doc, picture, p, log) : importRawSprites(doc, picture, p, log)))
                return false;
            warnTransparency(
                err, tiles ? QStringLiteral("the tile graphics") : QStringLiteral("the sprite graphics"),
                before, tiles ? doc.TileStore : doc.SpriteStore);
            return true;
        });
}
