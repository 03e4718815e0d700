#include "cli/jsonoutput.h"

#include <QJsonDocument>
#include <QTextStream>

void printJson(QTextStream &out, const QJsonObject &document) {
    out << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
}
