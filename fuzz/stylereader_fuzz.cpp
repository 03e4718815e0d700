// Feeds arbitrary bytes to the style file reader; a refusal is fine, anything the sanitizers
// see is not. Accepted files must also survive a save.

#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    StyleDocument doc;
    DecliningPrompts prompts;
    SilentProgress progress;
    LineLog log;
    if (!readStyle(doc, bytes, prompts, progress, log))
        return 0;
    StyleDocument saved;
    try {
        const QByteArray written = serializeStyle(doc, saved, progress, log);
        // What was written must read back to the same document.
        StyleDocument again;
        if (!readStyle(again, written, prompts, progress, log))
            std::abort();
        StyleDocument resaved;
        if (serializeStyle(again, resaved, progress, log) != written)
            std::abort();
    } catch (const WriteFailure &) {
    }
    return 0;
}
