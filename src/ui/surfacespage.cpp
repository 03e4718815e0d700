#include "ui/surfacespage.h"

#include "style/styledocument.h"
#include "ui/commandrunner.h"
#include "widgets/textrefresh.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

const std::array<QString, SurfaceListCount> ColumnNames = {
    QStringLiteral("spec1"), QStringLiteral("spec2"), QStringLiteral("spec3"),
    QStringLiteral("spec4"), QStringLiteral("spec5"), QStringLiteral("spec_"),
    QStringLiteral("spec7"), QStringLiteral("spec8"), QStringLiteral("spec9")};

const std::array<QString, SurfaceListCount> ColumnCaptions = {QStringLiteral("Grass / dirt"),
                                                              QStringLiteral("road special"),
                                                              QStringLiteral("water"),
                                                              QStringLiteral("electrified"),
                                                              QStringLiteral("electrified platform"),
                                                              QStringLiteral("wood\nfloor"),
                                                              QStringLiteral("metal\nfloor"),
                                                              QStringLiteral("metal\nwall"),
                                                              QStringLiteral("grass / dirt\nwall")};

// The lines of a column's text; a final line break does not start another line.
QStringList linesOf(const QString &text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

SurfacesPage::SurfacesPage(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    auto *about =
        new QLabel(QStringLiteral("surface overlays\n \ntells game what kind of skids car makes over "
                                  "specific textures\nand affects game in physical way - if the "
                                  "texture is water or electrified and what your footsteps sounds "
                                  "like on that texture."),
                   this);
    about->setWordWrap(true);
    layout->addWidget(about);

    // Captions in one row and lists in the next, so that the lists under two-line captions start
    // where the others do.
    auto *box = new QWidget;
    auto *columns = new QGridLayout(box);
    columns->setRowStretch(1, 1);
    columns->addWidget(new QLabel(QStringLiteral("RAW DATA:"), box), 0, 0, Qt::AlignBottom);
    raw_ = new QListWidget(box);
    raw_->setObjectName(QStringLiteral("rawSurfaces"));
    raw_->setSelectionMode(QAbstractItemView::NoSelection);
    columns->addWidget(raw_, 1, 0);
    for (std::size_t k = 0; k < SurfaceListCount; ++k) {
        const int column = int(k) + 1;
        columns->addWidget(new QLabel(ColumnCaptions[k], box), 0, column, Qt::AlignBottom);
        columns_[k] = new QPlainTextEdit(box);
        columns_[k]->setObjectName(ColumnNames[k]);
        columns_[k]->setEnabled(false);
        connect(columns_[k], &QPlainTextEdit::textChanged, this, [this, k] { columnEdited(k); });
        columns->addWidget(columns_[k], 1, column);
    }
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(box);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
}

void SurfacesPage::setDocument(const StyleDocument *doc) {
    doc_ = doc;
    for (QPlainTextEdit *column : columns_)
        column->setEnabled(doc_ != nullptr);
    refresh();
}

void SurfacesPage::refresh() {
    filling_ = true;
    raw_->clear();
    if (doc_) {
        QStringList words;
        for (const quint16 word : doc_->SurfaceLists)
            words << QString::number(word);
        raw_->addItems(words);
    }
    for (std::size_t k = 0; k < SurfaceListCount; ++k) {
        // A column that already says what the document holds keeps its text, its undo and its
        // scroll, also with a last line break the user typed.
        const QStringList lines = doc_ ? doc_->SurfaceColumns[k] : QStringList();
        if (linesOf(columns_[k]->toPlainText()) != lines)
            showLines(columns_[k], lines);
    }
    filling_ = false;
}

void SurfacesPage::showChange(const DocumentChange &change) {
    if (change.source != this && change.surfaces())
        refresh();
}

void SurfacesPage::columnEdited(std::size_t k) {
    if (filling_ || !doc_)
        return;
    const QStringList lines = linesOf(columns_[k]->toPlainText());
    runner_->typeText([&](StyleDocument &doc) { doc.SurfaceColumns[k] = lines; }, this);
}
