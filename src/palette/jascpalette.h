#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class Prompts;

inline const QString JascFilter = QStringLiteral("jasc paint shop pro palette|*.pal");

// The 259 lines of a JASC text palette of the 256 colours of `palette`, each ended by CR LF.
QByteArray jascPaletteText(const StyleDocument &doc, int palette);

// The text lines of `bytes`; a CR, an LF or CR LF ends a line.
QList<QByteArray> textLines(const QByteArray &bytes);

// Red, green and blue of one colour line. Spaces, tabs and commas separate fields, leading blanks
// are skipped, other control characters dropped; a field reads as the signed number it starts
// with (0 when none), keeping its low 8 bits.
quint32 jascColour(const QByteArray &line);

// "Export .pal": writes one physical palette, picked by the user, as a text palette. Returns the
// name written, empty when the user cancelled.
QString exportJascPalette(const StyleDocument &doc, Prompts &prompts);

// "Import .pal": reads a text palette into a physical palette picked by the user; the picture
// follows. Returns whether the document changed.
bool importJascPalette(StyleDocument &doc, const QString &path, Prompts &prompts);
// The button: asks for the file, then imports it.
bool importJascPalette(StyleDocument &doc, Prompts &prompts);
