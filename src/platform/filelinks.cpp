#include "platform/filelinks.h"

bool isLink(const QFileInfo &info) {
    return info.isSymLink() || info.isJunction();
}
