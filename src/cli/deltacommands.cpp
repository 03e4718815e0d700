#include "deltacommands.h"

#include "argumentprompts.h"
#include "carpublishing.h"
#include "commandsupport.h"
#include "deltaoperations.h"
#include "deltasheet.h"
#include "log.h"
#include "systeminfo.h"

#include <QTextStream>

namespace {

std::optional<int> spriteNumber(const QString &text, QTextStream &err) {
    const std::optional<int> sprite = numberArgument(text);
    if (!sprite)
        misused(err, QStringLiteral("\"%1\" is not a sprite number").arg(text));
    return sprite;
}

std::optional<DeltaView> viewNamed(const QString &name) {
    if (name == QLatin1String("draw"))
        return DeltaView::Draw;
    if (name == QLatin1String("cars"))
        return DeltaView::CarsOnly;
    if (name == QLatin1String("changes"))
        return DeltaView::ChangesOnly;
    return std::nullopt;
}

} // namespace

int runDeltas(const QStringList &args, QTextStream &out, QTextStream &err) {
    QStringList names = args;
    std::optional<DeltaView> view = DeltaView::Draw;
    const qsizetype option = names.indexOf(QStringLiteral("--view"));
    if (option >= 0) {
        view = option + 1 < names.size() ? viewNamed(names[option + 1]) : std::nullopt;
        if (!view)
            return misused(err, QStringLiteral("--view takes draw, cars or changes"));
        names.remove(option, 2);
    }
    if (names.size() != 3)
        return misused(err, QStringLiteral("deltas takes a style file, a sprite number and a bitmap name"));
    const std::optional<int> sprite = spriteNumber(names[1], err);
    if (!sprite)
        return 1;
    ArgumentPrompts prompts(err);
    prompts.queueFileName(names[2]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, names[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        const QString path = exportDeltaSheet(doc, *sprite, prompts, *view);
        if (!path.isEmpty())
            out << QStringLiteral("saved to \"%1\"\n").arg(path);
        return !path.isEmpty();
    });
}

int runImportDeltas(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 4)
        return misused(
            err,
            QStringLiteral("import-deltas takes a style file, a sprite number, a bitmap and a target name"));
    const std::optional<int> sprite = spriteNumber(args[1], err);
    if (!sprite)
        return 1;
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[2]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        log.clear();
        if (!importDeltas(doc, *sprite, prompts, log))
            return false;
        printLines(out, log.lines());
        return saveStyle(doc, args[3], prompts, out);
    });
}

int runPublishCar(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 3)
        return misused(err, QStringLiteral("publish-car takes a style file, a sprite number and a name"));
    const std::optional<int> sprite = spriteNumber(args[1], err);
    if (!sprite)
        return 1;
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[2]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        const std::optional<CarPublication> published = publishCar(doc, *sprite, prompts, tempFolder(), {});
        if (published)
            out << QStringLiteral("saved to \"%1\" and \"%2\"\n").arg(published->archive, published->gif);
        return published.has_value();
    });
}
