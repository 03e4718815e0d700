#pragma once

#include "platform/log.h"
#include "platform/progress.h"
#include "style/stylewriter.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "ui/twnd_editor.h"

// Writes `doc` as "sample.sty" in `dir`, shows `window` at the widget tests' size answering through
// `prompts`, and opens the file in it as the user would; returns the file's path.
inline QString showAndOpen(Twnd_editor &window, ScriptedPrompts &prompts, const TestDir &dir,
                           StyleDocument doc) {
    SilentProgress progress;
    LineLog log;
    const QString path = writeStyle(doc, dir.path(QStringLiteral("sample.sty")), prompts, progress, log);
    window.setPrompts(&prompts);
    window.resize(900, 600);
    window.show();
    window.opensty(path);
    return path;
}
