#pragma once

#include "platform/progress.h"

#include <QStringList>

// Remembers every status text and the last progress values.
class RecordingProgress final : public Progress {
public:
    void setStatus(const QString &text) override { statuses.append(text); }
    void setMaximum(int m) override { maximum = m; }
    void setPosition(int p) override { position = p; }
    void processEvents() override { ++repaints; }

    QStringList statuses;
    int maximum = 0;
    int position = 0;
    int repaints = 0;
};
