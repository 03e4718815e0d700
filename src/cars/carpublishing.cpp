#include "cars/carpublishing.h"

#include "cars/gifpicture.h"
#include "cars/zipwriter.h"
#include "graphics/deltaoperations.h"
#include "graphics/deltasheet.h"
#include "graphics/spritepicture.h"
#include "platform/bitmapfile.h"
#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

CarPublication writeCarPublication(const StyleDocument &doc, int sprite, const QString &name,
                                   const QString &scratch) {
    const QImage picture = spritePicture(doc, sprite);
    const QImage sheet = renderDeltaSheet(doc, sprite, DeltaView::Draw);
    // Made with a unique name and for this user only, then removed with everything in it.
    const QTemporaryDir workFolder(QDir(scratch).filePath(QStringLiteral("vyr2-car-XXXXXX")));
    if (!workFolder.isValid())
        throw EditorError(QStringLiteral("A work folder in \"%1\" could not be created: %2")
                              .arg(scratch, workFolder.errorString()));
    const QDir work(workFolder.path());

    CarPublication result;
    result.archive = withExtension(name, QStringLiteral(".zip"));
    result.gif = withExtension(name, QStringLiteral(".gif"));
    const QStringList entrySources = {work.filePath(SpriteFileName(doc, sprite)),
                                      work.filePath(DeltaFileName(doc, sprite)), result.gif,
                                      work.filePath(PublishedReadmeName)};
    saveBitmap8(entrySources[0], picture);
    saveBitmap8(entrySources[1], sheet);
    writeWholeFileAtomic(result.gif, encodeGif(picture, PublishedGifComment));
    writeWholeFileAtomic(entrySources[3], QByteArray());

    try {
        ZipWriter zip;
        for (const QString &source : entrySources)
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
                                         const QString &scratch,
                                         const std::function<bool(const QString &)> &open) {
    if (!isCarSprite(doc, sprite)) {
        prompts.message(QStringLiteral("Sprite %1 is no car sprite; only cars are published.").arg(sprite));
        return std::nullopt;
    }
    const std::optional<QString> name = prompts.saveFileName(FileKind::Sprite, PublishCarFilter, QString());
    if (!name)
        return std::nullopt;
    CarPublication published = writeCarPublication(doc, sprite, *name, scratch);
    if (open && !open(published.archive))
        prompts.message(
            QStringLiteral("The archive \"%1\" was written, but no program could be started to open it.")
                .arg(published.archive));
    return published;
}
