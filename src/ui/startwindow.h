#pragma once

#include "log.h"
#include "styledocument.h"

#include <QMainWindow>

class QPlainTextEdit;
class QAction;

// The editor's window while its pages are being built: opens and saves style files and shows
// the log of each.
class StartWindow : public QMainWindow {
    Q_OBJECT
public:
    StartWindow();
    void openFile(const QString &path);

private:
    void openClicked();
    void saveAsClicked();
    void showLog(const LineLog &log);

    StyleDocument document_;
    QString fileName_;
    bool loaded_ = false;
    QPlainTextEdit *log_;
    QAction *saveAs_;
};
