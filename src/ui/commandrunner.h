#pragma once

#include "history/documenthistory.h"
#include "style/styledocument.h"
#include "ui/documentchange.h"

#include <QObject>
#include <functional>

// The one road for every change to the document: runs the core operation, records the undo step,
// puts the document back when anything fails, and tells the views what changed.
class CommandRunner : public QObject {
    Q_OBJECT
public:
    CommandRunner(StyleDocument &document, DocumentHistory &history, QObject *parent = nullptr);

    // Where the text of a failure goes once the document is back as it was.
    void setErrorReport(std::function<void(const QString &)> report) { report_ = std::move(report); }

    // Runs `operation` on the document; what it changed becomes one undoable step named `name`
    // (steps with the same nonzero `merge` key join). Any failure, running out of memory too, puts
    // the document back as it was and is reported. Returns whether the operation ran to its end.
    bool run(const QString &name, const std::function<void(StyleDocument &)> &operation, int merge = 0,
             const QObject *source = nullptr);

    // The document was replaced as a whole (opened): the next step starts from it.
    void reset() { committed_ = document_; }
    // Shows `state`, which undo or redo made, and tells the views what it changed.
    void show(const StyleDocument &state);
    // The user typed into a free text of the document shown by `source`: `edit` writes it there.
    void typeText(const std::function<void(StyleDocument &)> &edit, const QObject *source);
    // A free text is replaced outside the history, as from a file: `edit` writes it.
    void replaceText(const std::function<void(StyleDocument &)> &edit);
    const StyleDocument &committed() const { return committed_; }

signals:
    void changed(const DocumentChange &change);

private:
    // Records what changed since the last step as a step named `name`, which `source` has shown.
    void record(const QString &name, int merge, const QObject *source);
    // `edit` changes the free texts outside the history: the next step and undo keep what it wrote.
    // When it throws, the document is put back and the error passed on.
    void editText(const std::function<void(StyleDocument &)> &edit, const QObject *source, bool typed);

    StyleDocument &document_;
    DocumentHistory &history_;
    // The state after the last step, load, undo or redo: the next step starts from it.
    StyleDocument committed_;
    std::function<void(const QString &)> report_;
};
