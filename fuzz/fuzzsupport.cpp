#include "fuzzsupport.h"

#include "graphics/tilenumbering.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

FuzzInput::FuzzInput(const uint8_t *data, size_t size, qsizetype controlBytes) {
    const auto length = static_cast<qsizetype>(size);
    if (length < controlBytes)
        return;
    const auto *bytes = reinterpret_cast<const char *>(data);
    control = QByteArrayView(bytes, controlBytes);
    file = QByteArrayView(bytes + controlBytes, length - controlBytes);
    valid = true;
}

quint8 FuzzInput::at(qsizetype index) const {
    return index < control.size() ? static_cast<quint8>(control[index]) : 0;
}

QString writeInputFile(QByteArrayView bytes, const QString &suffix) {
    static QTemporaryDir dir;
    require(dir.isValid(), "no temporary folder for the input file");
    const QString path = dir.filePath(QStringLiteral("input") + suffix);
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), bytes.size()) == bytes.size(),
            "cannot write the input file");
    return path;
}

quint8 FuzzPrompts::next() {
    return used_ < answers_.size() ? static_cast<quint8>(answers_[used_++]) : 0;
}

void FuzzPrompts::message(const QString &text) {
    require(!text.trimmed().isEmpty(), "an empty message");
    ++messages_;
}

Answer FuzzPrompts::confirm(const QString &) {
    return next() % 2 ? Answer::No : Answer::Yes;
}

Answer FuzzPrompts::confirmWithCancel(const QString &) {
    return static_cast<Answer>(next() % 3);
}

Answer FuzzPrompts::saveDiscardCancel(const QString &) {
    return Answer::Cancel;
}

std::optional<QString> FuzzPrompts::inputBox(const QString &, const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> FuzzPrompts::openFileName(FileKind, const QString &, const QString &) {
    return file_;
}

std::optional<QString> FuzzPrompts::saveFileName(FileKind, const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> FuzzPrompts::folder(const QString &) {
    return std::nullopt;
}

std::optional<QString> FuzzPrompts::pickPalette(const QString &) {
    const quint8 answer = next();
    if (answer == 255)
        return std::nullopt;
    if (answer == 254)
        return QStringLiteral("12a");
    return QString::number(answer * 4 - 16);
}

SpriteImportChoice FuzzPrompts::importChoice() {
    const SpriteImportChoice answers[] = {
        SpriteImportChoice::ImportIntoChosen,  SpriteImportChoice::ChangePaletteOnly,
        SpriteImportChoice::PaletteHack,       SpriteImportChoice::PixelsOnly,
        SpriteImportChoice::ImportOverCurrent, SpriteImportChoice::Cancel};
    return answers[next() % 6];
}

MissingColoursAnswer FuzzPrompts::missingColours(const QString &text) {
    require(!text.isEmpty(), "an empty question");
    const MissingColoursAnswer answers[] = {MissingColoursAnswer::Nearest, MissingColoursAnswer::KeepIndexes,
                                            MissingColoursAnswer::Cancel};
    return answers[next() % 3];
}

void require(bool holds, const char *what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

namespace {

void requireStore(const QImage &store, int maxPages, const char *what) {
    if (store.isNull())
        return;
    require(store.format() == QImage::Format_Indexed8 && store.width() == PageSide && store.height() > 0 &&
                store.height() % PageSide == 0 && store.height() / PageSide <= maxPages,
            what);
}

} // namespace

void requireConsistent(const StyleDocument &doc) {
    requireStore(doc.TileStore, MaxTilePages, "the tile store is no set of whole tile pages");
    requireStore(doc.SpriteStore, PixelStorePageCapacity, "the sprite store is no set of whole pages");
    require(doc.PhysicalPalettes.size() == PhysicalPalettesBytes, "the palette store changed its size");
    require(doc.PhysicalPaletteCount >= 0 && doc.PhysicalPaletteCount <= PaletteStoreCapacity,
            "the palette count is beyond the store");
    SilentProgress progress;
    LineLog log;
    DecliningPrompts prompts;
    StyleDocument saved;
    const QByteArray bytes = serializeStyle(doc, saved, progress, log);
    StyleDocument again;
    require(readStyle(again, bytes, prompts, progress, log), "the saved document does not read back");
}
