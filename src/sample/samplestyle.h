#pragma once

#include "style/styledocument.h"

#include <QStringList>

// Style documents built by code: what the editor shows before a file is opened, and the data of
// the tests and benchmarks. Each holds something of every kind the file model knows, and a save
// followed by a reload gives back the same bytes. The car script is not part of a style file;
// makeSampleCarScript gives the one that belongs beside it.

// 2 tile pages, 128 physical palettes, sprites of all six kinds on 2 pages, 10 cars with deltas.
StyleDocument makeSampleStyle();

// The benchmark file: 62 tile pages, 640 physical palettes, 3001 sprites over 64 pages, 256 cars.
StyleDocument makeLargeSampleStyle();

// The "nyc.gci" text for the cars of `doc`: a header comment, an empty line, then the 22-line
// physics block of every car record in table order.
QStringList makeSampleCarScript(const StyleDocument &doc);
