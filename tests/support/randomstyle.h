#pragma once

#include "sample/samplepainting.h"
#include "style/styledocument.h"

#include <QByteArray>

// Small style documents with random contents and random counts of everything a file holds, each
// within its capacity, so every one saves and reloads.
StyleDocument randomStyle(SampleRng &rng);

// `file` damaged one of three ways: cut off, some bytes changed, or a chunk given another size.
QByteArray damagedStyle(const QByteArray &file, SampleRng &rng);
