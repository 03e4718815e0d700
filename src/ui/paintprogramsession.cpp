#include "ui/paintprogramsession.h"

#include "graphics/spriteentries.h"
#include "graphics/tilepattern.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTemporaryDir>

namespace {

// Long enough to gather the notifications of one save, short enough to feel immediate.
constexpr int SettleMilliseconds = 150;

} // namespace

PaintProgramSession::PaintProgramSession(QObject *parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &PaintProgramSession::saved);
}

PaintProgramSession::~PaintProgramSession() = default;

bool PaintProgramSession::start(const StyleDocument &doc, Graphic graphic, Prompts &prompts,
                                const std::function<bool(const QString &)> &opener) {
    stop();
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        prompts.message(QStringLiteral("No work folder could be made for the paint program: %1.")
                            .arg(folder->errorString()));
        return false;
    }
    QString error;
    const QString name = graphic.kind == GraphicKind::Sprite
                             ? SpriteFileName(doc, graphic.number)
                             // The default pattern always takes a tile number.
                             // NOLINTNEXTLINE(bugprone-unchecked-optional-access)
                             : TilePattern::parse(DefaultTilePattern, error)->format(graphic.number);
    PaintProgramEdit edit(graphic, folder->filePath(name));
    if (!edit.writeWorkFile(doc, prompts))
        return false;
    if (!opener(edit.workFile())) {
        prompts.message(QStringLiteral("No program opens \"%1\".").arg(edit.workFile()));
        return false;
    }
    folder_ = std::move(folder);
    edit_ = std::move(edit);
    watcher_ = new QFileSystemWatcher(this);
    watcher_->addPath(folder_->path());
    watchFile();
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        watchFile();
        settle_.start();
    });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        watchFile();
        settle_.start();
    });
    emit editingChanged(true);
    return true;
}

void PaintProgramSession::watchFile() {
    // A file renamed over the watched one is a new file, and the watch on the old one is gone.
    if (edit_ && QFileInfo::exists(edit_->workFile()) && !watcher_->files().contains(edit_->workFile()))
        watcher_->addPath(edit_->workFile());
}

void PaintProgramSession::stop() {
    if (!edit_)
        return;
    settle_.stop();
    delete watcher_;
    watcher_ = nullptr;
    edit_.reset();
    folder_.reset();
    emit editingChanged(false);
}

std::optional<Graphic> PaintProgramSession::graphic() const {
    if (!edit_)
        return std::nullopt;
    return edit_->graphic();
}

bool PaintProgramSession::reimport(StyleDocument &doc, Prompts &prompts, Log &log) {
    return edit_ && edit_->reimport(doc, prompts, log);
}

void PaintProgramSession::retryLater() {
    if (edit_)
        settle_.start();
}
