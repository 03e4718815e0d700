#include "platform/programversion.h"

#include "buildversion.h"

QString programVersion() {
    return QStringLiteral(VYR2_VERSION " (" VYR2_COMMIT ")");
}
