#include "cli/rendercommands.h"

#include "cli/commandsupport.h"
#include "graphics/tilegrid.h"
#include "platform/log.h"

#include <QTextStream>

int runRenderTiles(const CommandArguments &args, QTextStream &out, QTextStream &err) {
    const std::optional<int> scale = scaleOption(args);
    if (!scale)
        return misused(err, ScaleUsage);
    return guarded(err, [&](CliPrompts &prompts) {
        StyleDocument doc;
        LineLog log;
        if (!loadStyle(doc, args[0], prompts, log))
            return false;
        const QImage grid = renderTileGrid(doc);
        if (grid.isNull()) {
            prompts.message(QStringLiteral("\"%1\" holds no tiles").arg(args[0]));
            return false;
        }
        writeRendering(out, grid, *scale, args[1]);
        if (!isStandardOutput(args[1]))
            out << QStringLiteral("saved to \"%1\"\n").arg(args[1]);
        return true;
    });
}
