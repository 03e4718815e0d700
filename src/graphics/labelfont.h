#pragma once

#include <QImage>
#include <QRect>
#include <QString>

// Surface labels are drawn with this small built-in font rather than a system font, so the
// editor, the command-line tool and the tests draw the same pixels, with no font system needed.
// It knows the lower-case letters of the labels and the blank.

// Writes `text` in black on a white box at the top-left corner of `cell` in the 32-bit `image`,
// moving to a new line at a blank when a word would pass the cell's right edge. Nothing is drawn
// outside the cell.
void drawLabel(QImage &image, const QRect &cell, const QString &text);
