#include "ui/graphictransfer.h"

#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "ui/commandrunner.h"
#include "ui/logpage.h"
#include "ui/pagecontext.h"
#include "ui/paintprogramsession.h"
#include "ui/spritespage.h"
#include "ui/texturespage.h"
#include "ui/tilegridview.h"
#include "ui/windowlog.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QScopeGuard>

namespace {

const QString PictureMimeType = QStringLiteral("image/bmp");
// How messages about a pasted picture name it.
const QString ClipboardName = QStringLiteral("the clipboard");

} // namespace

GraphicTransfer::GraphicTransfer(const PageContext &context, QObject *parent)
    : QObject(parent), context_(context), session_(new PaintProgramSession(this)) {
    connect(session_, &PaintProgramSession::saved, this,
            [this] { context_.attempt([this] { paintProgramSaved(); }); });
    connect(session_, &PaintProgramSession::editingChanged, this, [this](bool editing) {
        for (QAction *stop : stopActions_)
            stop->setEnabled(editing);
    });
}

void GraphicTransfer::setState(bool ready, bool busy) {
    ready_ = ready;
    busy_ = busy;
    for (QAction *paint : paintActions_)
        paint->setEnabled(ready);
}

void GraphicTransfer::addSpriteCommands(SpritesPage *sprites) {
    sprites_ = sprites;
    sprites->addCommands(addCommands(sprites, GraphicKind::Sprite));
}

void GraphicTransfer::addTileCommands(TexturesPage *textures) {
    textures_ = textures;
    connect(textures, &TexturesPage::pictureDropped, this, [this](int tile, const QString &path) {
        context_.attempt([&] { importPicture({GraphicKind::Tile, tile}, PictureSource::file(path)); });
    });
    textures->addCommands(addCommands(textures, GraphicKind::Tile));
}

QList<QAction *> GraphicTransfer::addCommands(QWidget *page, GraphicKind kind) {
    auto *paint = new QAction(QStringLiteral("edit in paint program"), page);
    paint->setEnabled(ready_);
    connect(paint, &QAction::triggered, this,
            [this, kind] { context_.attempt([&] { editInPaintProgram(kind); }); });
    paintActions_.push_back(paint);
    auto *stop = new QAction(QStringLiteral("stop editing"), page);
    // A page made while an edit runs can end it too.
    stop->setEnabled(session_->graphic().has_value());
    connect(stop, &QAction::triggered, session_, &PaintProgramSession::stop);
    stopActions_.push_back(stop);

    const auto shortcut = [this, page, kind](const QString &name, QKeySequence::StandardKey key,
                                             void (GraphicTransfer::*run)(GraphicKind)) {
        auto *action = new QAction(name, page);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this,
                [this, run, kind] { context_.attempt([&] { (this->*run)(kind); }); });
        page->addAction(action);
    };
    shortcut(QStringLiteral("Copy"), QKeySequence::Copy, &GraphicTransfer::copyGraphic);
    shortcut(QStringLiteral("Paste"), QKeySequence::Paste, &GraphicTransfer::pasteGraphic);
    return {paint, stop};
}

std::optional<Graphic> GraphicTransfer::selectedGraphic(GraphicKind kind) const {
    if (!ready_)
        return std::nullopt;
    if (kind == GraphicKind::Sprite) {
        const int sprite = sprites_->selectedSprite();
        if (sprite < 0 || sprite >= context_.document.spriteCount())
            return std::nullopt;
        return Graphic{kind, sprite};
    }
    if (textures_->grid()->columnCount() == 0)
        return std::nullopt;
    return Graphic{kind, textures_->grid()->currentTile()};
}

void GraphicTransfer::copyGraphic(GraphicKind kind) {
    const std::optional<Graphic> graphic = selectedGraphic(kind);
    if (!graphic)
        return;
    const QImage picture = graphicPicture(context_.document, *graphic);
    if (picture.isNull()) {
        context_.prompts->message(QStringLiteral("The %1 has no picture to copy.").arg(graphic->name()));
        return;
    }
    // The bitmap keeps the indexes and the palette for programs that take one; the plain picture
    // is for those that only take true colour.
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    auto *mime = new QMimeData;
    mime->setData(PictureMimeType, bitmap);
    mime->setImageData(picture.convertToFormat(QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void GraphicTransfer::pasteGraphic(GraphicKind kind) {
    const std::optional<Graphic> graphic = selectedGraphic(kind);
    if (!graphic)
        return;
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    const QByteArray bitmap = mime ? mime->data(PictureMimeType) : QByteArray();
    // Paint programs offer a true-colour bitmap beside other forms: only an 8-bit one is taken as it
    // is; any other picture goes through the rule for pictures of more colours.
    std::optional<LoadedBitmap> decoded;
    QString unreadable = QStringLiteral("The clipboard holds no picture.");
    if (!bitmap.isEmpty()) {
        try {
            decoded = decodeBitmap(bitmap, ClipboardName);
        } catch (const EditorError &error) {
            // Another form of the picture may still be read; if not, this says why.
            unreadable = error.text();
        }
    }
    if (decoded && decoded->image.format() == QImage::Format_Indexed8 && decoded->pixelFormatCode == Pf8Bit) {
        importPicture(*graphic, PictureSource::picture(*decoded, ClipboardName));
        return;
    }
    QImage picture = mime && mime->hasImage() ? qvariant_cast<QImage>(mime->imageData()) : QImage();
    if (picture.isNull() && decoded)
        picture = decoded->image;
    if (picture.isNull()) {
        context_.prompts->message(unreadable);
        return;
    }
    QString refusal;
    const std::optional<PictureSource> eightBit = pictureToImport(picture, ClipboardName, refusal);
    if (!eightBit) {
        context_.prompts->message(refusal);
        return;
    }
    importPicture(*graphic, *eightBit);
}

void GraphicTransfer::importPicture(Graphic graphic, const PictureSource &picture) {
    if (!ready_)
        return;
    if (graphic.kind == GraphicKind::Sprite) {
        sprites_->importInto(graphic.number, picture);
        return;
    }
    const auto showTile = qScopeGuard([this] { emit tileTouched(textures_->grid()->currentTile()); });
    context_.runner.run(QStringLiteral("import tile %1").arg(graphic.number), [&](StyleDocument &doc) {
        WindowLog log(context_.log);
        importGraphic(doc, graphic, picture, *context_.prompts, log);
    });
}

void GraphicTransfer::editInPaintProgram(GraphicKind kind) {
    // The tile's description follows, also when the edit could not start.
    const auto showTile = qScopeGuard([this, kind] {
        if (kind == GraphicKind::Tile)
            emit tileTouched(textures_->grid()->currentTile());
    });
    if (const std::optional<Graphic> graphic = selectedGraphic(kind))
        session_->start(context_.document, *graphic, *context_.prompts, context_.openFile);
}

void GraphicTransfer::endEditingOtherThan(Graphic selected) {
    const std::optional<Graphic> edited = session_->graphic();
    if (edited && edited->kind == selected.kind && edited->number != selected.number)
        session_->stop();
}

void GraphicTransfer::stopEditing() {
    session_->stop();
}

void GraphicTransfer::paintProgramSaved() {
    const std::optional<Graphic> graphic = session_->graphic();
    if (!graphic)
        return;
    // While a load, a save or another command's dialog is under way, the document is theirs.
    if (busy_ || QApplication::activeModalWidget()) {
        session_->retryLater();
        return;
    }
    const bool sprite = graphic->kind == GraphicKind::Sprite;
    bool changed = false;
    // The sprites page shows the new picture itself, in place.
    const bool ran = context_.runner.run(
        QStringLiteral("%1 from the paint program").arg(graphic->name()),
        [&](StyleDocument &doc) {
            WindowLog log(context_.log);
            changed = session_->reimport(doc, *context_.prompts, log);
        },
        0, sprite ? sprites_ : nullptr);
    if (!ran || !changed)
        return;
    if (sprite)
        sprites_->showSelectedChanged();
    else
        emit tileTouched(graphic->number);
}
