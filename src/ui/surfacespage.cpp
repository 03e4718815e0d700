#include "surfacespage.h"

#include "styledocument.h"

#include <QHBoxLayout>
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

    auto *box = new QWidget;
    auto *columns = new QHBoxLayout(box);
    auto *raw = new QVBoxLayout;
    raw->addWidget(new QLabel(QStringLiteral("RAW DATA:"), box));
    raw_ = new QListWidget(box);
    raw_->setObjectName(QStringLiteral("rawSurfaces"));
    raw_->setSelectionMode(QAbstractItemView::NoSelection);
    raw->addWidget(raw_);
    columns->addLayout(raw);
    for (std::size_t k = 0; k < SurfaceListCount; ++k) {
        auto *column = new QVBoxLayout;
        column->addWidget(new QLabel(ColumnCaptions[k], box));
        columns_[k] = new QPlainTextEdit(box);
        columns_[k]->setObjectName(ColumnNames[k]);
        columns_[k]->setEnabled(false);
        connect(columns_[k], &QPlainTextEdit::textChanged, this, [this, k] { columnEdited(k); });
        column->addWidget(columns_[k]);
        columns->addLayout(column);
    }
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(box);
    scroll->setWidgetResizable(true);
    layout->addWidget(scroll, 1);
}

void SurfacesPage::setDocument(StyleDocument *doc) {
    doc_ = doc;
    for (QPlainTextEdit *column : columns_)
        column->setEnabled(doc_ != nullptr);
    refresh();
}

void SurfacesPage::refresh() {
    filling_ = true;
    raw_->clear();
    for (std::size_t k = 0; k < SurfaceListCount; ++k)
        columns_[k]->clear();
    if (doc_) {
        QStringList words;
        for (const quint16 word : doc_->SurfaceLists)
            words << QString::number(word);
        raw_->addItems(words);
        for (std::size_t k = 0; k < SurfaceListCount; ++k)
            columns_[k]->setPlainText(doc_->SurfaceColumns[k].join(QLatin1Char('\n')));
    }
    filling_ = false;
}

void SurfacesPage::columnEdited(std::size_t k) {
    if (filling_ || !doc_)
        return;
    doc_->SurfaceColumns[k] = linesOf(columns_[k]->toPlainText());
    emit columnsEdited();
}
