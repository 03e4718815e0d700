#pragma once

#include <QString>

// The version of this build: the project version and the short git commit it was built from
// ("unknown" outside a git checkout), as "1.0 (1a2b3c4)".
QString programVersion();
