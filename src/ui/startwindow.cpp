#include "startwindow.h"

#include "dialogprompts.h"
#include "editorerror.h"
#include "progress.h"
#include "stylereader.h"
#include "stylewriter.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolBar>

StartWindow::StartWindow() : log_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("vyr2 sty tool"));
    resize(837, 462);
    setMinimumHeight(390);
    log_->setReadOnly(true);
    setCentralWidget(log_);
    QToolBar *tools = addToolBar(QStringLiteral("file"));
    QAction *open = tools->addAction(QStringLiteral("open"), this, &StartWindow::openClicked);
    open->setShortcut(QKeySequence::Open);
    saveAs_ = tools->addAction(QStringLiteral("save as"), this, &StartWindow::saveAsClicked);
    saveAs_->setShortcut(QKeySequence::SaveAs);
    saveAs_->setEnabled(false);
}

void StartWindow::openFile(const QString &path) {
    fileName_ = path;
    setWindowTitle(QStringLiteral("vyr2 sty tool - ") + QFileInfo(path).fileName());
    DialogPrompts prompts(this);
    SilentProgress progress;
    LineLog log;
    try {
        if (opensty(document_, path, prompts, progress, log))
            loaded_ = true;
    } catch (const EditorError &error) {
        QMessageBox::critical(this, windowTitle(), error.text());
    }
    saveAs_->setEnabled(loaded_);
    showLog(log);
}

void StartWindow::openClicked() {
    DialogPrompts prompts(this);
    if (const auto name = prompts.openFileName(StyleFileFilter, fileName_))
        openFile(*name);
}

void StartWindow::saveAsClicked() {
    DialogPrompts prompts(this);
    SilentProgress progress;
    LineLog log;
    if (!saveStyleAs(document_, fileName_, prompts, progress, log).isEmpty())
        showLog(log);
}

void StartWindow::showLog(const LineLog &log) {
    log_->setPlainText(log.lines().join(QLatin1Char('\n')));
}
