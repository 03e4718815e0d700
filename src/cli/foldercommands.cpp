#include "cli/foldercommands.h"

#include "cars/carscript.h"
#include "cli/commandsupport.h"
#include "cli/terminalprogress.h"
#include "folder/packstyle.h"
#include "folder/unpackstyle.h"
#include "graphics/tilenumbering.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/filelinks.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <memory>
#include <new>

namespace {

// Why pack's file was written but its folder still shows what it showed before.
QString notInStep(const QString &file, const QString &folder, const QString &reason) {
    return QStringLiteral("\"%1\" was saved, but the folder \"%2\" could not be brought in step with it: %3")
        .arg(file, folder, reason);
}

QString scriptBeside(const QString &path) {
    return QFileInfo(path).dir().filePath(CompanionScriptName);
}
QString scriptIn(const QString &dir) {
    return QDir(dir).filePath(CompanionScriptName);
}

// The folder of the style file `file` (`doc` as read from it; the chunks the reader skips come
// from the bytes), with the first companion script of `scripts` there is.
FolderMaker unpackedFiles(const StyleDocument &doc, const QByteArray &file, const QStringList &scripts) {
    std::optional<QByteArray> script;
    for (const QString &scriptPath : scripts) {
        const QFileInfo info(scriptPath);
        if (info.isFile() && !isLink(info)) {
            script = readWholeFile(scriptPath);
            break;
        }
    }
    return [&doc, file, script](const FileSink &files) {
        unpackStyle(doc, file, script, files);
    };
}

// The terminal's progress bar, to count the files of a folder as they are taken.
Progress &folderProgress(const QString &status, int expected) {
    Progress &progress = TerminalProgress::instance();
    progress.setStatus(status);
    progress.setMaximum(expected);
    return progress;
}

// About how many files unpack makes of `doc`: one per graphic and palette, two per delta entry.
int expectedFiles(const StyleDocument &doc) {
    return tileCount(doc.TileStore) + doc.spriteCount() + doc.PhysicalPaletteCount +
           2 * doc.DeltaIndexCount() + 8;
}

// The folder as pack reads it, each file read counted on the terminal's progress bar.
FolderContents readWithProgress(const FolderContents &folder) {
    Progress &progress = TerminalProgress::instance();
    progress.setStatus(QStringLiteral("packing"));
    progress.setMaximum(int(folder.names.size()));
    auto read = std::make_shared<int>(0);
    return {folder.names, [folder, read](const QString &name) {
                TerminalProgress::instance().setPosition(std::min(++*read, int(folder.names.size())));
                return folder.read(name);
            }};
}

} // namespace

int runUnpack(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const bool update = args.has(QStringLiteral("--update"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        if (!update) {
            const int count =
                writeFolder(unpackedFiles(doc, readWholeFile(args[0]), {scriptBeside(args[0])}), args[1],
                            folderProgress(QStringLiteral("unpacking"), expectedFiles(doc)));
            out << QStringLiteral("unpacked \"%1\" into \"%2\": %3 files\n").arg(args[0], args[1]).arg(count);
            return true;
        }
        const FolderUpdate done = updateFolder(
            unpackedFiles(doc, readWholeFile(args[0]), {scriptBeside(args[0]), scriptIn(args[1])}), args[1],
            folderProgress(QStringLiteral("updating"), expectedFiles(doc)));
        out << QStringLiteral("updated \"%1\" from \"%2\": %3 files written, %4 removed\n")
                   .arg(args[1], args[0])
                   .arg(done.written)
                   .arg(done.removed);
        return true;
    });
}

int runPack(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const bool keepUnknown = args.has(QStringLiteral("--keep-unknown"));
    const bool verbose = args.has(QStringLiteral("--verbose"));
    const std::optional<ColoursOption> colours = coloursOption(args);
    if (!colours)
        return misused(err, ColoursUsage);
    if (!QFileInfo(args[0]).isDir())
        return misused(err, QStringLiteral("\"%1\" is no folder").arg(args[0]));
    CliPrompts prompts(err);
    prompts.setColours(*colours);
    return guarded(err, prompts, [&] {
        LineLog log;
        QByteArray unknownChunks;
        const QByteArray file =
            packStyle(readWithProgress(diskFolder(args[0])), keepUnknown, prompts, log, &unknownChunks);
        const QString target = withExtension(args[1], QStringLiteral(".sty"));
        // The folder is to show what the file holds, so that its digests follow this pack and the
        // next edit is judged against it; the raw/ chunks stay whether or not they were packed.
        // Made before the file is written, so that a shortage of memory leaves both as they were.
        const QByteArray shown = keepUnknown ? file : file + unknownChunks;
        StyleDocument packed;
        LineLog packedLog;
        Progress &progress = TerminalProgress::instance();
        if (!readStyle(packed, shown, prompts, progress, packedLog))
            throw EditorError(QStringLiteral("The packed file does not read back; nothing was written."));
        FolderFiles refreshed;
        unpackedFiles(packed, shown, {scriptIn(args[0])})(
            [&](const QString &name, const QByteArray &bytes) { refreshed.emplace_back(name, bytes); });
        try {
            writeStyleFile(target, file);
        } catch (const WriteFailure &failure) {
            throw EditorError(failure.message());
        }
        // The writer's log, which is all the log holds: the writer starts it afresh.
        if (verbose)
            printLines(out, log.lines());
        out << (verbose ? QStringLiteral("file saved to \"%1\" size: %2 Bytes").arg(target).arg(file.size())
                        : wroteLine(target))
            << '\n';
        FolderUpdate done;
        SilentProgress quiet;
        try {
            done = updateFolder(
                [&](const FileSink &files) {
                    for (const auto &[name, bytes] : refreshed)
                        files(name, bytes);
                },
                args[0], quiet);
        } catch (const EditorError &error) {
            throw EditorError(notInStep(target, args[0], error.text()));
        } catch (const std::bad_alloc &) {
            // The file is written whole; only the folder is short of it.
            throw EditorError(notInStep(target, args[0], QStringLiteral("there is not enough memory.")));
        }
        if (done.written + done.removed > 0)
            out << QStringLiteral("updated \"%1\" to what the file holds: %2 files written, %3 removed\n")
                       .arg(args[0])
                       .arg(done.written)
                       .arg(done.removed);
        return true;
    });
}
