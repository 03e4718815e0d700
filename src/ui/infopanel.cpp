#include "ui/infopanel.h"

#include "cars/carrecords.h"
#include "graphics/tilegrid.h"

InfoPanel::InfoPanel(const StyleDocument &document, QWidget *parent)
    : QPlainTextEdit(parent), document_(document) {
    setObjectName(QStringLiteral("info"));
    setReadOnly(true);
}

void InfoPanel::describeSprite(int sprite) {
    setPlainText(spriteInfoPanel(document_, sprite).join(QLatin1Char('\n')));
}

void InfoPanel::describeTile(int tile, const QString &fileName) {
    setPlainText(tileInfo(document_, tile, fileName));
}
