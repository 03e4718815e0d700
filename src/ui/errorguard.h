#pragma once

#include "platform/editorerror.h"
#include "platform/prompts.h"

// Runs a page's command and shows an EditorError it throws as a message: errors must not unwind
// through Qt's event code, which does not clean up after exceptions.
template <typename Command> void showingErrors(Prompts &prompts, Command &&command) {
    try {
        command();
    } catch (const EditorError &error) {
        prompts.message(error.text());
    }
}
