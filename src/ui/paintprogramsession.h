#pragma once

#include "graphics/paintprogramedit.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;
class QTemporaryDir;

// "edit in paint program": the graphic's work file in a folder of its own, opened with the
// system's program for images and watched until the edit stops. The folder is watched as well as
// the file, because many programs save by writing a new file and renaming it over the old one,
// which ends a watch on the file alone. The notifications of one save come in bursts, so they are
// gathered over a short pause and reported once.
class PaintProgramSession : public QObject {
    Q_OBJECT
public:
    explicit PaintProgramSession(QObject *parent = nullptr);
    ~PaintProgramSession() override;

    // Ends any earlier edit, writes the work file and opens it with `opener`. False, with the
    // reason shown, when there is no picture to write or no program opens it.
    bool start(const StyleDocument &doc, Graphic graphic, Prompts &prompts,
               const std::function<bool(const QString &)> &opener);
    void stop();

    std::optional<Graphic> graphic() const;
    // The work file's latest bytes into the document (PaintProgramEdit::reimport).
    bool reimport(StyleDocument &doc, Prompts &prompts, Log &log);
    // The window cannot take the save now (it is loading, saving or asking): report it again shortly.
    void retryLater();

signals:
    // The work file was saved, once per burst of notifications.
    void saved();
    void editingChanged(bool editing);

private:
    void watchFile();

    std::unique_ptr<QTemporaryDir> folder_;
    std::optional<PaintProgramEdit> edit_;
    QFileSystemWatcher *watcher_ = nullptr;
    QTimer settle_;
};
