#include "rendercommands.h"

#include "cliprompts.h"
#include "editorerror.h"
#include "fileio.h"
#include "log.h"
#include "progress.h"
#include "stylereader.h"
#include "tilegrid.h"

#include <QBuffer>
#include <QTextStream>

int runRenderTiles(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 2) {
        err << "vyr2-sty: render-tiles takes a style file and a picture name" << Qt::endl;
        return 1;
    }
    CliPrompts prompts(err);
    try {
        StyleDocument doc;
        SilentProgress progress;
        LineLog log;
        if (!opensty(doc, args[0], prompts, progress, log) || prompts.failed())
            return 1;
        const QImage grid = renderTileGrid(doc);
        if (grid.isNull()) {
            err << QStringLiteral("\"%1\" holds no tiles").arg(args[0]) << Qt::endl;
            return 1;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!grid.save(&buffer, "PNG"))
            throw EditorError(QStringLiteral("the tile grid could not be encoded as PNG"));
        writeWholeFileAtomic(args[1], png);
        out << QStringLiteral("saved to \"%1\"\n").arg(args[1]);
        return 0;
    } catch (const EditorError &error) {
        err << error.text() << Qt::endl;
        return 1;
    }
}
