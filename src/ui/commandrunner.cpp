#include "ui/commandrunner.h"

#include "platform/editorerror.h"

#include <new>

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
        emit changed({DocumentParts::all(), nullptr});
        throw;
    }
    if (!failure.isNull()) {
        // Whatever the operation had changed goes back before the user sees why.
        const DocumentChange undone{changedParts(committed_, document_), nullptr};
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
    const DocumentChange change{changedParts(committed_, now), source};
    if (history_.record(name, committed_, now, merge)) {
        committed_ = now;
        emit changed(change);
    }
}

void CommandRunner::keepTextEdits() {
    history_.followTextEdits(committed_, document_);
    committed_.SurfaceColumns = document_.SurfaceColumns;
    committed_.CarScript = document_.CarScript;
}

void CommandRunner::typeText(const std::function<void(StyleDocument &)> &edit, const QObject *source) {
    const StyleDocument before = document_;
    edit(document_);
    keepTextEdits();
    emit changed({changedParts(before, document_), source, true});
}
