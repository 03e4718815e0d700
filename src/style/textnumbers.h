#pragma once

#include <QString>

// Converts a text-held list line to a number the way every save does: plain decimal with an
// optional sign. Throws EditorError("'<text>' is not a valid integer value") otherwise.
int textToInteger(const QString &text);
