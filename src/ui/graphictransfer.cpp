// The main window's glue between the selected sprite or tile and the world outside: the
// clipboard, pictures dropped on a page, and the paint program editing one of them.
#include "graphics/graphicfile.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "ui/logpage.h"
#include "ui/paintprogramsession.h"
#include "ui/spritespage.h"
#include "ui/tilegridview.h"
#include "ui/twnd_editor.h"
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

QAction *Twnd_editor::stopEditingAction(QWidget *page) {
    auto *stop = new QAction(QStringLiteral("stop editing"), page);
    // A page made while an edit runs can end it too.
    stop->setEnabled(paintSession_->graphic().has_value());
    connect(stop, &QAction::triggered, paintSession_, &PaintProgramSession::stop);
    stopEditing_.push_back(stop);
    return stop;
}

void Twnd_editor::addClipboardCommands(QWidget *page, GraphicKind kind) {
    const auto shortcut = [this, page](const QString &name, QKeySequence::StandardKey key,
                                       void (Twnd_editor::*run)(GraphicKind), GraphicKind kind) {
        auto *action = new QAction(name, page);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this,
                [this, run, kind] { attempt([&] { (this->*run)(kind); }); });
        page->addAction(action);
    };
    shortcut(QStringLiteral("Copy"), QKeySequence::Copy, &Twnd_editor::copyGraphic, kind);
    shortcut(QStringLiteral("Paste"), QKeySequence::Paste, &Twnd_editor::pasteGraphic, kind);
}

std::optional<Graphic> Twnd_editor::selectedGraphic(GraphicKind kind) const {
    if (state_ != State::Ready || document_.PhysicalPaletteCount == 0)
        return std::nullopt;
    if (kind == GraphicKind::Sprite) {
        const int sprite = sprites_->selectedSprite();
        if (sprite < 0 || sprite >= document_.spriteCount())
            return std::nullopt;
        return Graphic{kind, sprite};
    }
    if (tileGrid_->columnCount() == 0)
        return std::nullopt;
    return Graphic{kind, tileGrid_->currentTile()};
}

void Twnd_editor::copyGraphic(GraphicKind kind) {
    const std::optional<Graphic> graphic = selectedGraphic(kind);
    if (!graphic)
        return;
    const QImage picture = graphicPicture(document_, *graphic);
    if (picture.isNull()) {
        prompts().message(QStringLiteral("The %1 has no picture to copy.").arg(graphic->name()));
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

void Twnd_editor::pasteGraphic(GraphicKind kind) {
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
        prompts().message(unreadable);
        return;
    }
    QString refusal;
    const std::optional<PictureSource> eightBit = pictureToImport(picture, ClipboardName, refusal);
    if (!eightBit) {
        prompts().message(refusal);
        return;
    }
    importPicture(*graphic, *eightBit);
}

void Twnd_editor::importPicture(Graphic graphic, const PictureSource &picture) {
    if (state_ != State::Ready || document_.PhysicalPaletteCount == 0)
        return;
    if (graphic.kind == GraphicKind::Sprite) {
        sprites_->importInto(graphic.number, picture);
        return;
    }
    const auto describeTile = qScopeGuard([this] { DrawGrid1SelectCell(tileGrid_->currentTile()); });
    command(QStringLiteral("import tile %1").arg(graphic.number), [&] {
        WindowLog log(log_);
        importGraphic(document_, graphic, picture, prompts(), log);
    });
}

void Twnd_editor::editSpriteInPaintProgram() {
    if (const std::optional<Graphic> graphic = selectedGraphic(GraphicKind::Sprite))
        paintSession_->start(document_, *graphic, prompts(), fileOpener_);
}

void Twnd_editor::editTileInPaintProgram() {
    if (const std::optional<Graphic> graphic = selectedGraphic(GraphicKind::Tile))
        paintSession_->start(document_, *graphic, prompts(), fileOpener_);
}

void Twnd_editor::endEditingOtherThan(Graphic selected) {
    const std::optional<Graphic> edited = paintSession_->graphic();
    if (edited && edited->kind == selected.kind && edited->number != selected.number)
        paintSession_->stop();
}

void Twnd_editor::paintProgramSaved() {
    const std::optional<Graphic> graphic = paintSession_->graphic();
    if (!graphic)
        return;
    // While a load, a save or another command's dialog is under way, the document is theirs.
    if (busy() || QApplication::activeModalWidget()) {
        paintSession_->retryLater();
        return;
    }
    bool changed = false;
    {
        WindowLog log(log_);
        changed = paintSession_->reimport(document_, prompts(), log);
    }
    if (!changed)
        return;
    const QString name = QStringLiteral("%1 from the paint program").arg(graphic->name());
    if (graphic->kind == GraphicKind::Sprite) {
        sprites_->showSelectedChanged();
        commit(name, sprites_);
    } else {
        commit(name);
        DrawGrid1SelectCell(graphic->number);
    }
}
