#include "ui/twnd_about.h"

#include "platform/programtitle.h"
#include "platform/programversion.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Twnd_about::Twnd_about(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(ProgramTitle, this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("Version ") + programVersion(), this));
    layout->addWidget(
        new QLabel(QStringLiteral("An editor for the style files of VYR2: tiles, sprites, palettes,\n"
                                  "deltas, cars and surfaces, exact to the byte.\n\n"
                                  "Export graphics as 8-bit bitmaps, edit them in any paint\n"
                                  "program, import them back and save a new style file."),
                   this));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
}
