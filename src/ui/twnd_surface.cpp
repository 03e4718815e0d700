#include "ui/twnd_surface.h"

#include "widgets/dialogbuttons.h"

#include "cars/surfaceedit.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>
#include <array>

namespace {

const std::array<QString, SurfaceListCount> EntryTexts = {QStringLiteral("grass/dirt (floor)"),
                                                          QStringLiteral("road junction special (floor)"),
                                                          QStringLiteral("water (floor)"),
                                                          QStringLiteral("electrified (floor)"),
                                                          QStringLiteral("electrified platform (floor)"),
                                                          QStringLiteral("wood (floor)"),
                                                          QStringLiteral("metal (floor)"),
                                                          QStringLiteral("metal (wall)"),
                                                          QStringLiteral("grass/dirt (wall)")};

} // namespace

Twnd_surface::Twnd_surface(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("wnd_surface"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(this);
    entries_ = new QListWidget(this);
    entries_->setObjectName(QStringLiteral("CheckListBox1"));
    for (const QString &text : EntryTexts) {
        auto *entry = new QListWidgetItem(text, entries_);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    layout->addWidget(entries_);

    auto *row = new QHBoxLayout;
    row->addStretch();
    addOkCancel(this, row, QStringLiteral("ok"), QStringLiteral("cancel"));
    layout->addLayout(row);
}

bool Twnd_surface::edit(StyleDocument &doc, int tile, Prompts &prompts) {
    if (!tileSurfacesEditable(tile, prompts))
        return false;
    setWindowTitle(QStringLiteral("surface for tile %1").arg(tile));
    const TileSurfaces holds = surfacesOfTile(doc, tile);
    for (int k = 0; k < entries_->count(); ++k)
        entries_->item(k)->setCheckState(holds[static_cast<std::size_t>(k)] ? Qt::Checked : Qt::Unchecked);
    if (exec() != QDialog::Accepted)
        return false;
    TileSurfaces checked{};
    for (int k = 0; k < entries_->count(); ++k)
        checked[static_cast<std::size_t>(k)] = entries_->item(k)->checkState() == Qt::Checked;
    return setTileSurfaces(doc, tile, checked, prompts);
}
