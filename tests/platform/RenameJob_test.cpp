#include "RenameJob.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lorvane;

namespace {

struct Watch
{
    std::vector<std::pair<qsizetype, qsizetype>> progress;
    int finished = 0;

    void attach(RenameJob &job)
    {
        QObject::connect(&job, &RenameJob::progressed, [this](qsizetype done, qsizetype total) {
            progress.emplace_back(done, total);
        });
        QObject::connect(&job, &RenameJob::finished, [this] { ++finished; });
    }
};

TEST(RenameJob, ReportsRisingProgressAndFinishesOnce)
{
    QTemporaryDir dir;
    std::vector<RenamePair> pairs;
    for (int i = 0; i < 300; ++i) {
        const QByteArray name = "f" + QByteArray::number(i);
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        pairs.push_back({name, "g" + QByteArray::number(i)});
    }
    RenameJob job(QFile::encodeName(dir.path()), pairs);
    Watch watch;
    watch.attach(job);
    // A zero budget still makes progress: at least one slice per call.
    int calls = 0;
    while (!job.isFinished() && calls < 1000) {
        job.advance(std::chrono::microseconds(0));
        ++calls;
    }
    ASSERT_TRUE(job.isFinished());
    EXPECT_GT(calls, 1);
    job.advance(std::chrono::microseconds(0));
    job.runToEnd();
    EXPECT_EQ(watch.finished, 1);
    ASSERT_EQ(watch.progress.size(), static_cast<std::size_t>(calls));
    for (std::size_t i = 1; i < watch.progress.size(); ++i)
        EXPECT_LE(watch.progress[i - 1].first, watch.progress[i].first);
    EXPECT_EQ(watch.progress.back(), (std::pair<qsizetype, qsizetype>(300, 300)));
    EXPECT_EQ(job.batch().renamed().size(), 300u);
}

TEST(RenameJob, EmptyJobFinishesAtItsFirstSlice)
{
    RenameJob job("/", {});
    Watch watch;
    watch.attach(job);
    job.advance(std::chrono::milliseconds(5));
    EXPECT_TRUE(job.isFinished());
    EXPECT_EQ(watch.finished, 1);
    ASSERT_EQ(watch.progress.size(), 1u);
    EXPECT_EQ(watch.progress[0], (std::pair<qsizetype, qsizetype>(0, 0)));
}

} // namespace
