#include "cli/deltacommands.h"

#include "cars/carpublishing.h"
#include "cli/argumentprompts.h"
#include "cli/commandsupport.h"
#include "graphics/deltaoperations.h"
#include "graphics/deltasheet.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/systeminfo.h"

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

int runDeltas(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<QString> viewName = args.value(QStringLiteral("--view"));
    const std::optional<DeltaView> view = viewName ? viewNamed(*viewName) : DeltaView::Draw;
    if (!view)
        return misused(err, QStringLiteral("--view takes draw, cars or changes"));
    const std::optional<int> sprite = spriteNumber(args[1], err);
    if (!sprite)
        return UsageStatus;
    ArgumentPrompts prompts(err);
    prompts.queueFileName(args[2]);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        const QString path = exportDeltaSheet(doc, *sprite, prompts, *view);
        if (!path.isEmpty())
            out << QStringLiteral("saved to \"%1\"\n").arg(path);
        return !path.isEmpty();
    });
}

int runImportDeltas(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<int> sprite = spriteNumber(args[1], err);
    if (!sprite)
        return UsageStatus;
    ArgumentPrompts prompts(err);
    return guarded(err, prompts, [&] {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log) || !requirePalettes(doc, prompts))
            return false;
        log.clear();
        if (!importDeltas(doc, *sprite, PictureSource::file(args[2]), prompts, log))
            return false;
        printLines(out, log.lines());
        return saveStyle(doc, args[3], prompts, out);
    });
}

int runPublishCar(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<int> sprite = spriteNumber(args[1], err);
    if (!sprite)
        return UsageStatus;
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
