#pragma once

#include <QString>

// Status text and progress bar of long operations.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setStatus(const QString &text) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    // Lets the window repaint; implementations decide how often that really happens.
    virtual void processEvents() = 0;
};

// For callers that show no progress (command line, tests that do not look at it).
class SilentProgress final : public Progress {
public:
    void setStatus(const QString &) override {}
    void setMaximum(int) override {}
    void setPosition(int) override {}
    void processEvents() override {}
};
