#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QString>

class Prompts;

inline const QString BitmapFilter = QStringLiteral("*.bmp|*.bmp");
inline const QString PaletteTableFileName = QStringLiteral("palclut.bmp");

// "Export" of the Palettes page: saves the palette table picture as a 24-bit bitmap, one column
// per physical palette. Returns the name written, empty when the user cancelled.
QString exportPaletteTable(const StyleDocument &doc, Prompts &prompts);

// "Import" of the Palettes page: a 24-bit bitmap 256 high and a multiple of 64 wide replaces the
// physical palettes (their fourth bytes stay) and the picture. Returns whether the document changed.
bool importPaletteTable(StyleDocument &doc, const QString &path, Prompts &prompts);
// The button: asks for the file, then imports it.
bool importPaletteTable(StyleDocument &doc, Prompts &prompts);
