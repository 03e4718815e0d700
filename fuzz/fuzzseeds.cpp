// Writes the seed corpus of one fuzzer, made by our own code from the sample style: each seed is
// the fuzzer's control bytes followed by a file the editor would write or accept.

#include "cars/carscript.h"
#include "cars/pedpicture.h"
#include "graphics/deltasheet.h"
#include "graphics/spriteentries.h"
#include "graphics/tileoperations.h"
#include "packfolder.h"
#include "palette/jascpalette.h"
#include "palette/palettelookup.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "sample/samplestyle.h"
#include "style/littleendian.h"
#include "style/stylewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <map>

namespace {

using Control = std::initializer_list<quint8>;

class Seeds {
public:
    // Every seed starts with `controlBytes` bytes; those a seed does not give are 0.
    Seeds(const QString &folder, qsizetype controlBytes) : dir_(folder), controlBytes_(controlBytes) {}
    bool ok() const { return ok_; }

    void add(Control control, const QByteArray &bytes) {
        QByteArray seed;
        for (const quint8 byte : control)
            seed.append(static_cast<char>(byte));
        seed.resize(controlBytes_, '\0');
        seed += bytes;
        QFile file(dir_.filePath(QStringLiteral("seed%1").arg(count_++)));
        ok_ = file.open(QIODevice::WriteOnly) && file.write(seed) == seed.size() && ok_;
    }

private:
    QDir dir_;
    qsizetype controlBytes_;
    int count_ = 0;
    bool ok_ = true;
};

// The bytes our bitmap writer gives the picture: 8 bits for an indexed one, otherwise 24.
QByteArray bitmapBytes(const QImage &image) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seed.bmp"));
    if (image.format() == QImage::Format_Indexed8)
        saveBitmap8(path, image, Durability::Deferred);
    else
        saveBitmap24(path, image);
    return readWholeFile(path);
}

// The imports read palette PNGs as well.
QByteArray pngBytes(const QImage &indexed8) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("seed.png"));
    savePicture8(path, indexed8, Durability::Deferred);
    return readWholeFile(path);
}

QByteArray styleBytes(const StyleDocument &doc) {
    SilentProgress progress;
    LineLog log;
    StyleDocument saved;
    return serializeStyle(doc, saved, progress, log);
}

std::vector<int> carSprites(const StyleDocument &doc) {
    std::vector<int> sprites;
    for (int s = 0; s < doc.spriteCount(); ++s)
        if (isCarSprite(doc, s))
            sprites.push_back(s);
    return sprites;
}

// Sprite numbers go in two bytes, 4 above the sprite.
quint8 high(int sprite) {
    return static_cast<quint8>((sprite + 4) >> 8);
}
quint8 low(int sprite) {
    return static_cast<quint8>((sprite + 4) & 0xff);
}

void styleSeeds(Seeds &seeds, StyleDocument sample) {
    seeds.add({}, styleBytes(sample));
    // The same tables without the large pixel stores, so mutations reach the small chunks quickly.
    sample.TileStore = QImage();
    sample.SpriteStore = QImage();
    sample.PhysicalPaletteCount = 1;
    seeds.add({}, styleBytes(sample));
}

void tileSeeds(Seeds &seeds, const StyleDocument &sample) {
    // Palette answers: keep, map, import; the palette picked is 4 (answer byte 5).
    for (const int tile : {0, 7, 31})
        for (const quint8 answer : {0, 1, 2})
            seeds.add({0, static_cast<quint8>(tile + 4), answer, 5}, bitmapBytes(tileBitmap(sample, tile)));
    seeds.add({2, 4, 0, 5}, bitmapBytes(tileBitmap(sample, 3)));
    seeds.add({0, 11, 2, 5}, pngBytes(tileBitmap(sample, 7)));
    seeds.add({1, 0, 0, 0}, bitmapBytes(sample.TileStore));
    seeds.add({0, 4, 0, 0}, bitmapBytes(makeClut1(sample)));
}

void spriteSeeds(Seeds &seeds, const StyleDocument &sample) {
    const std::vector<int> cars = carSprites(sample);
    for (const int sprite : {0, sample.spriteCount() / 2, sample.spriteCount() - 1})
        for (quint8 choice = 1; choice <= 5; ++choice)
            seeds.add({0, high(sprite), low(sprite), choice, 5}, bitmapBytes(spriteGlyph(sample, sprite)));
    seeds.add({1, 0, 0}, bitmapBytes(sample.SpriteStore));
    // The same pictures as palette PNGs, which the imports read too.
    const int middle = sample.spriteCount() / 2;
    for (quint8 choice = 1; choice <= 5; ++choice)
        seeds.add({0, high(middle), low(middle), choice, 5}, pngBytes(spriteGlyph(sample, middle)));
    seeds.add({1, 0, 0}, pngBytes(sample.SpriteStore));
    for (std::size_t i = 0; i < cars.size() && i < 3; ++i)
        for (const DeltaView view : {DeltaView::Draw, DeltaView::ChangesOnly}) {
            const QImage sheet = renderDeltaSheet(sample, cars[i], view);
            seeds.add({2, high(cars[i]), low(cars[i])}, bitmapBytes(sheet));
            seeds.add({2, high(cars[i]), low(cars[i])}, pngBytes(sheet));
        }
}

void paletteBitmapSeeds(Seeds &seeds, const StyleDocument &sample) {
    seeds.add({0, 0, 0}, bitmapBytes(makeClut1(sample)));
    seeds.add({0, 0, 0}, bitmapBytes(makeClut1(sample).copy(0, 0, PalettesPerPage, 256)));
    for (const int remap : {0, 3, 40})
        seeds.add({1, 0, static_cast<quint8>(remap + 16)}, bitmapBytes(makePedPicture()));
}

void jascSeeds(Seeds &seeds, const StyleDocument &sample) {
    // Answer byte 5 picks palette 4.
    seeds.add({5}, jascPaletteText(sample, 4));
    seeds.add({5}, jascPaletteText(sample, 100).left(600));
}

void carScriptSeeds(Seeds &seeds, const StyleDocument &sample) {
    const QByteArray script = carScriptBytes(makeSampleCarScript(sample));
    for (int car = 0; car < sample.CarCount() && car < 4; ++car)
        seeds.add({static_cast<quint8>(sample.CarInfoTable[static_cast<std::size_t>(car)].model + 4),
                   static_cast<quint8>(car), 7, static_cast<quint8>(car)},
                  script);
}

void deltaSeeds(Seeds &seeds, const StyleDocument &sample) {
    QByteArray index;
    for (const DeltaIndexEntry &entry : sample.DeltaIndex) {
        appendU16(index, entry.sprite);
        appendU8(index, entry.delta_count);
        for (const quint16 size : entry.size)
            appendU16(index, size);
    }
    const auto count = static_cast<quint8>(sample.DeltaIndexCount());
    seeds.add({count, 0, 0, 0, 0, 40, 60, 3}, index + sample.DeltaStore);
    seeds.add({count, 0, 1, 250, 3, 20, 10, 34}, index + sample.DeltaStore);
    seeds.add({1, 200, 9, 0, 0, 64, 64, 1},
              index.left(3 + 2 * DeltasPerSprite) + sample.DeltaStore.left(400));
}

void packSeeds(Seeds &seeds, const StyleDocument &) {
    const FolderFiles folder = packFuzzFolder();
    for (quint8 pick = 0; pick < std::size(PackFuzzFiles); ++pick) {
        const QString target = packFuzzTarget(folder, pick);
        for (const auto &[name, bytes] : folder)
            if (name == target)
                seeds.add({pick, 0, 1}, bytes);
    }
}

} // namespace

int main(int argc, char **argv) {
    struct Writer {
        qsizetype controlBytes;
        std::function<void(Seeds &, const StyleDocument &)> write;
    };
    // The control bytes each fuzzer reads before its file.
    const std::map<std::string, Writer> writers = {
        {"stylereader", {0, styleSeeds}},   {"tileimport", {4, tileSeeds}},
        {"spriteimport", {6, spriteSeeds}}, {"palettebitmap", {3, paletteBitmapSeeds}},
        {"jascpalette", {1, jascSeeds}},    {"carscript", {4, carScriptSeeds}},
        {"deltaunit", {8, deltaSeeds}},     {"pack", {4, packSeeds}},
    };
    if (argc != 3 || !writers.contains(argv[1])) {
        std::fprintf(stderr, "usage: fuzz_seeds FUZZER FOLDER\n");
        return 1;
    }
    const Writer &writer = writers.at(argv[1]);
    Seeds seeds(QString::fromLocal8Bit(argv[2]), writer.controlBytes);
    try {
        writer.write(seeds, makeSampleStyle());
    } catch (const EditorError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return seeds.ok() ? 0 : 1;
}
