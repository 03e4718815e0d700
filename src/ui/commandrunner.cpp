#include "ui/commandrunner.h"

#include "platform/editorerror.h"

#include <new>

namespace {

DocumentChange describe(const StyleDocument &before, const StyleDocument &after, const QObject *source) {
    return {changedParts(before, after), source, false, changedItems(before, after)};
}

} // namespace

CommandRunner::CommandRunner(StyleDocument &document, DocumentHistory &history, QObject *parent)
    : QObject(parent), document_(document), history_(history), committed_(document) {}

bool CommandRunner::run(const QString &name, const std::function<void(StyleDocument &)> &operation, int merge,
                        const QObject *source) {
    QString failure;
    try {
        operation(document_);
    } catch (const EditorError &error) {
        failure = error.text();
    } catch (const std::bad_alloc &) {
        failure = QStringLiteral("There is not enough memory for this command.");
    } catch (...) {
        document_ = committed_;
        emit changed({DocumentParts::all(), nullptr, false, ItemChanges::every()});
        throw;
    }
    if (!failure.isNull()) {
        // Whatever the operation had changed goes back before the user sees why.
        const DocumentChange undone = describe(document_, committed_, nullptr);
        document_ = committed_;
        emit changed(undone);
        if (report_)
            report_(failure);
        return false;
    }
    record(name, merge, source);
    return true;
}

void CommandRunner::record(const QString &name, int merge, const QObject *source) {
    const StyleDocument now = document_;
    const DocumentChange change = describe(committed_, now, source);
    if (history_.record(name, committed_, now, merge)) {
        committed_ = now;
        emit changed(change);
    }
}

void CommandRunner::typeText(const std::function<void(StyleDocument &)> &edit, const QObject *source) {
    editText(edit, source, true);
}

void CommandRunner::replaceText(const std::function<void(StyleDocument &)> &edit) {
    editText(edit, nullptr, false);
}

void CommandRunner::editText(const std::function<void(StyleDocument &)> &edit, const QObject *source,
                             bool typed) {
    const StyleDocument before = document_;
    try {
        edit(document_);
    } catch (...) {
        document_ = before;
        throw;
    }
    history_.followTextEdits(committed_, document_);
    committed_.SurfaceColumns = document_.SurfaceColumns;
    committed_.CarScript = document_.CarScript;
    emit changed({changedParts(before, document_), source, typed, {}});
}

void CommandRunner::show(const StyleDocument &state) {
    const DocumentChange change = describe(document_, state, nullptr);
    document_ = state;
    committed_ = document_;
    emit changed(change);
}
