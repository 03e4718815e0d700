#include "cli/argumentprompts.h"

std::optional<QString> ArgumentPrompts::next(std::deque<QString> &queue) {
    if (queue.empty())
        return std::nullopt;
    QString value = queue.front();
    queue.pop_front();
    return value;
}

std::optional<Answer> ArgumentPrompts::nextAnswer() {
    if (answers_.empty())
        return std::nullopt;
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

Answer ArgumentPrompts::confirm(const QString &text) {
    return nextAnswer().value_or(CliPrompts::confirm(text));
}

Answer ArgumentPrompts::confirmWithCancel(const QString &text) {
    return nextAnswer().value_or(CliPrompts::confirmWithCancel(text));
}
