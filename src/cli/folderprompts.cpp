#include "cli/folderprompts.h"

#include "cli/commandsupport.h"
#include "platform/editorerror.h"
#include "platform/log.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> FolderPrompts::beginGraphic(const QStringList &names) {
    file_.clear();
    for (const QString &name : names) {
        const QString path = QDir(folder_).filePath(name);
        if (QFileInfo::exists(path)) {
            file_ = path;
            ++filesGiven_;
            return path;
        }
    }
    return std::nullopt;
}

void FolderPrompts::endGraphics() {
    file_.clear();
}

void FolderPrompts::stop(const QString &text) {
    const QString end = file_.isEmpty()
                            ? QStringLiteral("Nothing was written.")
                            : QStringLiteral("Stopped at \"%1\"; nothing was written.").arg(file_);
    throw EditorError(text + QLatin1Char('\n') + end);
}

bool loadForBatch(StyleDocument &doc, const QString &path, const QString &dir, FolderPrompts &prompts) {
    LineLog loadLog;
    if (!loadStyle(doc, path, prompts, loadLog) || !requirePalettes(doc, prompts))
        return false;
    if (!QFileInfo(dir).isDir())
        prompts.stop(QStringLiteral("\"%1\" is no folder.").arg(dir));
    return true;
}
