#pragma once

#include "BatchRename.h"
#include "RenameJournal.h"

#include <QObject>

#include <chrono>
#include <memory>

class QTimer;

namespace lorvane {

// A batch rename as long-running work: the one job of an execution, of its
// undo and of the recovery of a batch cut short. Started, it paces itself in
// slices on the event loop, so the program stays responsive, and reports
// progress and, at the end, finished(); the outcome of every entry is then in
// batch() and unsettled(). Before its first rename it writes its plan to a
// journal (RenameJournal) and removes it when it ends. It never shows
// anything itself.
class RenameJob : public QObject
{
    Q_OBJECT

public:
    using Work = RenameJournal::Work;

    // A new batch in `folder`, its journal kept in `journalFolder`.
    RenameJob(Work work, QByteArray folder, std::vector<RenamePair> pairs,
              const QString &journalFolder = RenameJournal::defaultFolder(),
              QObject *parent = nullptr);
    // Takes over the batch of a journal left behind (open in `journal`, read
    // into `plan`, its files found at `places`) and gives every file found the
    // name `direction` asks for: Forward finishes the batch, Back puts every
    // file back. Files not found are not touched; they are in unsettled().
    RenameJob(std::unique_ptr<RenameJournal> journal, RenameJournal::Plan plan,
              const std::vector<FilePlace> &places, RenameJournal::Direction direction,
              QObject *parent = nullptr);
    ~RenameJob() override;

    // Runs slice after slice from the event loop until the batch ends. Without
    // an application object there is no event loop: runToEnd() does the work.
    void start();
    // Works for about `budget`, then reports progress; the slice that settles
    // the last entry also emits finished(). Does nothing once finished.
    void advance(std::chrono::microseconds budget);
    void runToEnd();

    [[nodiscard]] bool isFinished() const { return m_finished; }
    [[nodiscard]] Work work() const { return m_plan.work; }
    [[nodiscard]] const BatchRename &batch() const { return *m_batch; }
    // Files of a taken-over journal that the batch left alone, and why.
    struct Unsettled
    {
        RenamePair pair; // as first planned
        RenameError error;
        int systemError = 0;
    };
    [[nodiscard]] const std::vector<Unsettled> &unsettled() const { return m_unsettled; }
    // Why the journal could not be written; nothing was renamed then.
    [[nodiscard]] const QString &journalError() const { return m_journalError; }

signals:
    void progressed(qsizetype settled, qsizetype total);
    void finished();

private:
    bool prepare();
    void removeSurplusNames();
    void report();

    RenameJournal::Plan m_plan;
    QString m_journalFolder;
    std::unique_ptr<RenameJournal> m_journal;
    std::unique_ptr<BatchRename> m_batch;
    // The plan's pair of each batch entry; empty when they are the same.
    std::vector<std::uint32_t> m_entryOf;
    // Second names of files found under both of theirs, to go first.
    std::vector<RenamePair> m_surplus;
    std::vector<Unsettled> m_unsettled;
    QString m_journalError;
    QTimer *m_pace = nullptr;
    bool m_prepared = false;
    bool m_finished = false;
};

} // namespace lorvane
