// Writes the seed corpus of the reader fuzzer: the sample style file, and small files made from
// it that touch every chunk kind.

#include "log.h"
#include "progress.h"
#include "samplestyle.h"
#include "stylewriter.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    SilentProgress progress;
    LineLog log;
    StyleDocument saved;
    StyleDocument sample = makeSampleStyle();
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    bool ok = write(QStringLiteral("sample.sty"), serializeStyle(sample, saved, progress, log));
    // The same tables without the large pixel stores, so mutations reach the small chunks quickly.
    sample.TileStore = QImage();
    sample.SpriteStore = QImage();
    sample.PhysicalPaletteCount = 1;
    ok = write(QStringLiteral("tables.sty"), serializeStyle(sample, saved, progress, log)) && ok;
    return ok ? 0 : 1;
}
