// pack on a folder with one file replaced by the input: style.json, a tile, sprite, delta sheet or
// palette picture, a text palette, the sprite pages or a sprite's delta bytes. Control bytes: which file,
// then the answers to the colour question. A refusal must say why; a packed file must open and save again.

#include "folder/packstyle.h"
#include "fuzzsupport.h"
#include "packfolder.h"
#include "platform/editorerror.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 4);
    if (!input.valid)
        return 0;
    static const FolderFiles folder = packFuzzFolder();
    const QString target = packFuzzTarget(folder, input.at(0));
    FolderFiles files = folder;
    for (auto &[name, bytes] : files)
        if (name == target)
            bytes = input.file.toByteArray();
    FuzzPrompts prompts(QString(), input.control.sliced(1));
    LineLog log;
    QByteArray packed;
    try {
        packed = packStyle(memoryFolder(files), input.at(1) & 1, prompts, log);
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty refusal");
        return 0;
    }
    StyleDocument doc;
    SilentProgress progress;
    require(readStyle(doc, packed, prompts, progress, log), "a packed file was refused by the reader");
    requireConsistent(doc);
    return 0;
}
