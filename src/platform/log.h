#pragma once

#include <QString>
#include <QStringList>

// The log page: plain text lines, cleared by opening and saving.
class Log {
public:
    virtual ~Log() = default;
    virtual void append(const QString &line) = 0;
    virtual void clear() = 0;
};

// A log kept in memory, for the command line and tests.
class LineLog final : public Log {
public:
    void append(const QString &line) override { lines_.append(line); }
    void clear() override { lines_.clear(); }
    const QStringList &lines() const { return lines_; }

private:
    QStringList lines_;
};
