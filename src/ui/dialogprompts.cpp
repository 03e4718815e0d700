#include "ui/dialogprompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {
Answer toAnswer(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
    case QMessageBox::Save:
        return Answer::Yes;
    case QMessageBox::No:
    case QMessageBox::Discard:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
} // namespace

QString dialogFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append(QStringLiteral("%1 (%2)").arg(
            parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))));
    return entries.join(QStringLiteral(";;"));
}

QString withFilterExtension(const QString &name, const QString &selectedFilter) {
    static const QRegularExpression pattern(QStringLiteral("\\(\\*(\\.[^ )*]+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(selectedFilter);
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty() || !match.hasMatch())
        return name;
    return name + match.captured(1);
}

void DialogPrompts::message(const QString &text) {
    QMessageBox::information(parent_, QApplication::applicationDisplayName(), text);
}

Answer DialogPrompts::confirm(const QString &text) {
    return toAnswer(QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                          QMessageBox::Yes | QMessageBox::No));
}

Answer DialogPrompts::confirmWithCancel(const QString &text) {
    return toAnswer(QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
}

Answer DialogPrompts::saveDiscardCancel(const QString &text) {
    return toAnswer(QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel));
}

MissingColoursAnswer DialogPrompts::missingColours(const QString &text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    text +
                        QStringLiteral("\n\nUse the nearest colours of the palette, keep the indexes as "
                                       "stored (the pixels then show other colours), or cancel the import?"),
                    QMessageBox::NoButton, parent_);
    QPushButton *nearest = box.addButton(QStringLiteral("Use nearest colours"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(QStringLiteral("Keep stored indexes"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(nearest);
    box.exec();
    if (box.clickedButton() == nearest)
        return MissingColoursAnswer::Nearest;
    if (box.clickedButton() == keep)
        return MissingColoursAnswer::KeepIndexes;
    return MissingColoursAnswer::Cancel;
}

std::optional<QString> DialogPrompts::inputBox(const QString &caption, const QString &prompt,
                                               const QString &preset) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, preset, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

QString DialogPrompts::startPath(FileKind kind, const QString &preset) const {
    const QString &folder = folders_[std::size_t(kind)];
    if (folder.isEmpty() || QDir::isAbsolutePath(preset))
        return preset;
    return QDir(folder).filePath(preset);
}

std::optional<QString> DialogPrompts::chosen(FileKind kind, const QString &name) {
    if (name.isEmpty())
        return std::nullopt;
    folders_[std::size_t(kind)] = QFileInfo(name).absolutePath();
    return name;
}

std::optional<QString> DialogPrompts::openFileName(FileKind kind, const QString &filter,
                                                   const QString &preset) {
    return chosen(kind, QFileDialog::getOpenFileName(parent_, QString(), startPath(kind, preset),
                                                     dialogFilter(filter)));
}

std::optional<QString> DialogPrompts::saveFileName(FileKind kind, const QString &filter,
                                                   const QString &preset) {
    // The extension rule of each save decides the overwrite, so the dialog does not ask twice.
    QString selected;
    const QString name =
        QFileDialog::getSaveFileName(parent_, QString(), startPath(kind, preset), dialogFilter(filter),
                                     &selected, QFileDialog::DontConfirmOverwrite);
    return chosen(kind, withFilterExtension(name, selected));
}

std::optional<QString> DialogPrompts::folder(const QString &title) {
    const QString dir = QFileDialog::getExistingDirectory(parent_, title);
    return dir.isEmpty() ? std::nullopt : std::optional<QString>(dir);
}
