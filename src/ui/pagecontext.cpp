#include "ui/pagecontext.h"

#include "platform/editorerror.h"

#include <new>

void PageContext::attempt(const std::function<void()> &run) const {
    try {
        run();
    } catch (const EditorError &e) {
        reportError(e.text());
    } catch (const std::bad_alloc &) {
        reportError(QStringLiteral("There is not enough memory for this command."));
    }
}

std::function<void()> PageContext::guarded(std::function<void()> click) const {
    return [this, click = std::move(click)] {
        attempt(click);
    };
}
