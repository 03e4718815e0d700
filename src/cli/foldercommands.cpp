#include "foldercommands.h"

#include "carscript.h"
#include "commandsupport.h"
#include "fileio.h"
#include "log.h"
#include "packstyle.h"
#include "stylewriter.h"
#include "unpackstyle.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int runUnpack(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2)
        return misused(err, QStringLiteral("unpack takes a style file and a folder"));
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        // The chunks the reader skips come from the file itself.
        const QByteArray file = readWholeFile(args[0]);
        std::optional<QByteArray> script;
        const QString scriptPath = QFileInfo(args[0]).dir().filePath(CompanionScriptName);
        if (QFileInfo(scriptPath).isFile())
            script = readWholeFile(scriptPath);
        const FolderFiles files = unpackStyle(doc, file, script);
        writeFolder(files, args[1]);
        out << QStringLiteral("unpacked \"%1\" into \"%2\": %3 files\n")
                   .arg(args[0], args[1])
                   .arg(files.size());
        return true;
    });
}

int runPack(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    const bool keepUnknown = names.removeAll(QStringLiteral("--keep-unknown")) > 0;
    const std::optional<ColoursOption> colours = takeColoursOption(names);
    if (!colours)
        return misused(err, QStringLiteral("--colours takes match, nearest or indexes"));
    if (names.size() != 2)
        return misused(err, QStringLiteral("pack takes a folder and a target name"));
    if (!QFileInfo(names[0]).isDir())
        return misused(err, QStringLiteral("\"%1\" is no folder").arg(names[0]));
    CliPrompts prompts(err);
    prompts.setColours(*colours);
    return guarded(err, prompts, [&] {
        LineLog log;
        const QByteArray file = packStyle(diskFolder(names[0]), keepUnknown, prompts, log);
        const QString target = withExtension(names[1], QStringLiteral(".sty"));
        try {
            writeStyleFile(target, file);
        } catch (const WriteFailure &failure) {
            throw EditorError(failure.message());
        }
        printLines(out, log.lines());
        out << QStringLiteral("file saved to \"%1\" size: %2 Bytes\n").arg(target).arg(file.size());
        return true;
    });
}
