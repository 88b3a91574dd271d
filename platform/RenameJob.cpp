#include "RenameJob.h"

namespace lorvane {

namespace {

// Steps between two looks at the clock: a rename costs microseconds, a clock
// reading tens of nanoseconds.
constexpr std::size_t StepsPerClockCheck = 32;

} // namespace

RenameJob::RenameJob(QByteArray folder, std::vector<RenamePair> pairs, QObject *parent)
    : QObject(parent), m_batch(std::make_unique<BatchRename>(std::move(folder), std::move(pairs)))
{}

RenameJob::~RenameJob() = default;

void RenameJob::advance(std::chrono::microseconds budget)
{
    if (m_reportedFinish)
        return;
    const auto deadline = std::chrono::steady_clock::now() + budget;
    do {
        (void)m_batch->runSome(StepsPerClockCheck);
    } while (!m_batch->finished() && std::chrono::steady_clock::now() < deadline);
    report();
}

void RenameJob::runToEnd()
{
    if (m_reportedFinish)
        return;
    m_batch->runAll();
    report();
}

void RenameJob::report()
{
    emit progressed(static_cast<qsizetype>(m_batch->settledCount()),
                    static_cast<qsizetype>(m_batch->size()));
    if (m_batch->finished() && !m_reportedFinish) {
        m_reportedFinish = true;
        emit finished();
    }
}

} // namespace lorvane
