#pragma once

#include <QString>
#include <QStringList>

// The log page: plain text lines, cleared by opening and saving.
class Log {
public:
    virtual ~Log() = default;
    virtual void append(const QString &line) = 0;
    virtual void clear() = 0;
    // A line about something the user may have lost or must know of (a file cut short, say): the
    // log shows it as any line, and the command line also reports it.
    virtual void warning(const QString &line) { append(line); }
};

// A log kept in memory, for the command line and tests.
class LineLog final : public Log {
public:
    void append(const QString &line) override { lines_.append(line); }
    void clear() override {
        lines_.clear();
        warnings_.clear();
    }
    void warning(const QString &line) override {
        append(line);
        warnings_.append(line);
    }
    const QStringList &lines() const { return lines_; }
    const QStringList &warnings() const { return warnings_; }

private:
    QStringList lines_;
    QStringList warnings_;
};
