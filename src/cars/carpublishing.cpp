#include "carpublishing.h"

#include "bitmapfile.h"
#include "deltaoperations.h"
#include "deltasheet.h"
#include "editorerror.h"
#include "fileio.h"
#include "gifpicture.h"
#include "prompts.h"
#include "spritepicture.h"
#include "systeminfo.h"
#include "zipwriter.h"

#include <QDir>
#include <QFileInfo>

QString carWorkFolder() {
    return QDir(tempFolder()).filePath(CarWorkFolderName);
}

CarPublication writeCarPublication(const StyleDocument &doc, int sprite, const QString &name,
                                   const QString &workFolder) {
    const QImage picture = spritePicture(doc, sprite);
    const QImage sheet = renderDeltaSheet(doc, sprite, DeltaView::Draw);
    createFolder(workFolder);
    const QDir work(workFolder);

    CarPublication result;
    result.archive = withExtension(name, QStringLiteral(".zip"));
    result.gif = withExtension(name, QStringLiteral(".gif"));
    result.entrySources = {work.filePath(SpriteFileName(doc, sprite)),
                           work.filePath(DeltaFileName(doc, sprite)), result.gif,
                           work.filePath(PublishedReadmeName)};
    saveBitmap8(result.entrySources[0], picture);
    saveBitmap8(result.entrySources[1], sheet);
    writeWholeFileAtomic(result.gif, encodeGif(picture, PublishedGifComment));
    writeWholeFileAtomic(result.entrySources[3], QByteArray());

    try {
        ZipWriter zip;
        for (const QString &source : result.entrySources)
            zip.addFile(source, QFileInfo(source).fileName());
        writeWholeFileAtomic(result.archive, zip.finish());
    } catch (const EditorError &error) {
        throw EditorError(
            QStringLiteral("The archive \"%1\" was not written: %2\nThe GIF picture \"%3\" was.")
                .arg(result.archive, error.text(), result.gif));
    }
    return result;
}

std::optional<CarPublication> publishCar(const StyleDocument &doc, int sprite, Prompts &prompts,
                                         const QString &workFolder,
                                         const std::function<bool(const QString &)> &open) {
    if (!isCarSprite(doc, sprite)) {
        prompts.message(QStringLiteral("Sprite %1 is no car sprite; only cars are published.").arg(sprite));
        return std::nullopt;
    }
    const std::optional<QString> name = prompts.saveFileName(FileKind::Sprite, PublishCarFilter, QString());
    if (!name)
        return std::nullopt;
    CarPublication published = writeCarPublication(doc, sprite, *name, workFolder);
    if (open && !open(published.archive))
        prompts.message(
            QStringLiteral("The archive \"%1\" was written, but no program could be started to open it.")
                .arg(published.archive));
    return published;
}
