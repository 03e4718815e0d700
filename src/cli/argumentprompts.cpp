#include "argumentprompts.h"

std::optional<QString> ArgumentPrompts::next(std::deque<QString> &queue) {
    if (queue.empty())
        return std::nullopt;
    QString value = queue.front();
    queue.pop_front();
    return value;
}

Answer ArgumentPrompts::confirmWithCancel(const QString &text) {
    if (answers_.empty())
        return CliPrompts::confirmWithCancel(text);
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}
