#pragma once

#include <QByteArray>

// style.schema.json: a JSON Schema of every field of style.json with its type and range, as pack
// reads them, so that an editor that knows JSON Schema checks values as they are typed.
QByteArray styleJsonSchema();
