#pragma once

#include "BatchRename.h"

#include <QObject>

#include <chrono>
#include <memory>

namespace lorvane {

// A batch rename as long-running work for a window: the window calls
// advance() from its own timer, so it stays responsive between slices, and
// watches the signals. The job never shows anything itself.
class RenameJob : public QObject
{
    Q_OBJECT

public:
    RenameJob(QByteArray folder, std::vector<RenamePair> pairs, QObject *parent = nullptr);
    ~RenameJob() override;

    // Works for about `budget`, then reports progress; the slice that settles
    // the last entry also emits finished(). Does nothing once finished.
    void advance(std::chrono::microseconds budget);
    void runToEnd();

    [[nodiscard]] bool isFinished() const { return m_batch->finished(); }
    [[nodiscard]] const BatchRename &batch() const { return *m_batch; }

signals:
    void progressed(qsizetype settled, qsizetype total);
    void finished();

private:
    void report();

    std::unique_ptr<BatchRename> m_batch;
    bool m_reportedFinish = false;
};

} // namespace lorvane
