#include "cli/folderprompts.h"

#include "cli/commandsupport.h"
#include "platform/editorerror.h"
#include "platform/log.h"

#include <QDir>
#include <QFileInfo>

void FolderPrompts::beginGraphic(const QStringList &names) {
    inGraphics_ = true;
    file_.clear();
    for (const QString &name : names) {
        const QString path = QDir(folder_).filePath(name);
        if (QFileInfo::exists(path)) {
            file_ = path;
            return;
        }
    }
}

void FolderPrompts::endGraphics() {
    inGraphics_ = false;
    file_.clear();
}

void FolderPrompts::stop(const QString &text) {
    const QString end = file_.isEmpty()
                            ? QStringLiteral("Nothing was written.")
                            : QStringLiteral("Stopped at \"%1\"; nothing was written.").arg(file_);
    throw EditorError(text + QLatin1Char('\n') + end);
}

void FolderPrompts::message(const QString &text) {
    if (inGraphics_ && file_.isEmpty())
        return;
    stop(text);
}

std::optional<QString> FolderPrompts::openFileName(FileKind, const QString &, const QString &) {
    if (!inGraphics_ || file_.isEmpty())
        return std::nullopt;
    ++filesGiven_;
    return file_;
}

bool loadForBatch(StyleDocument &doc, const QString &path, const QString &dir, FolderPrompts &prompts) {
    LineLog loadLog;
    if (!loadStyle(doc, path, prompts, loadLog) || !requirePalettes(doc, prompts))
        return false;
    if (!QFileInfo(dir).isDir())
        prompts.stop(QStringLiteral("\"%1\" is no folder.").arg(dir));
    return true;
}
