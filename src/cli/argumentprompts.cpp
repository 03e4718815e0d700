#include "argumentprompts.h"

std::optional<QString> ArgumentPrompts::next(std::deque<QString> &queue) {
    if (queue.empty())
        return std::nullopt;
    QString value = queue.front();
    queue.pop_front();
    return value;
}
