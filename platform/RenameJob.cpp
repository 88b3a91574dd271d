#include "RenameJob.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lorvane {

namespace {

// Steps between two looks at the clock: a rename costs microseconds, a clock
// reading tens of nanoseconds.
constexpr std::size_t StepsPerClockCheck = 32;

// Work per slice when the job paces itself: long enough that the event loop
// costs nothing next to the renames, short enough that windows answer at once.
constexpr std::chrono::milliseconds SliceBudget(20);

} // namespace

RenameJob::RenameJob(Work work, QByteArray folder, std::vector<RenamePair> pairs,
                     const QString &journalFolder, QObject *parent)
    : QObject(parent), m_journalFolder(journalFolder)
{
    m_plan.work = work;
    m_plan.folder = folder;
    m_plan.pairs = pairs;
    m_batch = std::make_unique<BatchRename>(std::move(folder), std::move(pairs));
}

RenameJob::RenameJob(std::unique_ptr<RenameJournal> journal, RenameJournal::Plan plan,
                     const std::vector<FilePlace> &places, RenameJournal::Direction direction,
                     QObject *parent)
    : QObject(parent), m_plan(std::move(plan)), m_journal(std::move(journal))
{
    const bool forward = direction == RenameJournal::Direction::Forward;
    std::vector<RenamePair> pairs;
    for (std::uint32_t e = 0; e < m_plan.pairs.size(); ++e) {
        const RenamePair &planned = m_plan.pairs[e];
        const QByteArray &target = forward ? planned.to : planned.from;
        // The folder may lie on a device numbered anew since.
        FileIdentity identity = planned.identity;
        identity.device = 0;
        if (!places[e].surplus.isEmpty())
            m_surplus.push_back({places[e].surplus, {}, identity});
        QByteArray current;
        switch (places[e].where) {
        case FilePlace::Where::Old:
            current = planned.from;
            break;
        case FilePlace::Where::New:
            current = planned.to;
            break;
        case FilePlace::Where::Temporary:
            current = places[e].temporary;
            break;
        case FilePlace::Where::Both:
            m_surplus.push_back({forward ? planned.from : planned.to, {}, identity});
            continue;
        case FilePlace::Where::Missing:
            m_unsettled.push_back({planned, RenameError::SourceMissing});
            continue;
        }
        if (current == target)
            continue;
        pairs.push_back({current, target, identity});
        m_entryOf.push_back(e);
    }
    m_plan.direction = direction;
    m_plan.parked.clear();
    m_batch = std::make_unique<BatchRename>(m_plan.folder, std::move(pairs));
}

RenameJob::~RenameJob() = default;

bool RenameJob::prepare()
{
    if (m_prepared)
        return m_journalError.isEmpty();
    m_prepared = true;
    m_plan.temporaryPrefixes.push_back(m_batch->temporaryPrefix());
    if (!m_journal)
        m_journal = std::make_unique<RenameJournal>();
    m_journalError = m_journal->begin(
        m_journalFolder.isEmpty() ? QFileInfo(m_journal->path()).absolutePath() : m_journalFolder,
        m_plan);
    if (!m_journalError.isEmpty()) {
        m_finished = true;
        return false;
    }
    removeSurplusNames();
    return true;
}

// A file the link fallback left under its old and its new name keeps the one
// the job gives it; the other is a second link of the same file, taken away
// only while it still is.
void RenameJob::removeSurplusNames()
{
    if (m_surplus.empty())
        return;
    const int dirFd = ::open(m_plan.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const RenamePair &surplus : m_surplus) {
        FileIdentity actual;
        int error = dirFd < 0 ? errno : identify(dirFd, surplus.from.constData(), actual);
        if (error == 0 && !surplus.identity.admits(actual))
            error = EEXIST;
        if (error == 0 && ::unlinkat(dirFd, surplus.from.constData(), 0) != 0)
            error = errno;
        if (error != 0)
            m_unsettled.push_back(
                {surplus, error == EEXIST ? RenameError::Changed : RenameError::Other, error});
    }
    if (dirFd >= 0)
        ::close(dirFd);
}

void RenameJob::start()
{
    // Without an event loop the work is done by runToEnd().
    if (m_finished || m_pace || !QCoreApplication::instance())
        return;
    m_pace = new QTimer(this);
    m_pace->setInterval(0);
    connect(m_pace, &QTimer::timeout, this, [this] { advance(SliceBudget); });
    m_pace->start();
}

void RenameJob::advance(std::chrono::microseconds budget)
{
    if (m_finished)
        return;
    if (prepare()) {
        const auto deadline = std::chrono::steady_clock::now() + budget;
        do {
            (void)m_batch->runSome(StepsPerClockCheck);
        } while (!m_batch->finished() && std::chrono::steady_clock::now() < deadline);
        m_journal->record(m_batch->settledCount(), m_batch->takeParkings(), m_entryOf,
                          m_batch->finished());
        if (m_batch->finished()) {
            m_journal->remove();
            m_finished = true;
        }
    }
    report();
}

void RenameJob::runToEnd()
{
    while (!m_finished)
        advance(std::chrono::milliseconds(250));
}

void RenameJob::report()
{
    emit progressed(static_cast<qsizetype>(m_batch->settledCount()),
                    static_cast<qsizetype>(m_batch->size()));
    if (m_finished) {
        if (m_pace)
            m_pace->stop();
        emit finished();
    }
}

} // namespace lorvane
