#include "KilledChild.h"
#include "RenameJob.h"
#include "TestFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

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
    const TestFolder dir;
    std::vector<RenamePair> pairs;
    for (int i = 0; i < 300; ++i) {
        const QByteArray name = "f" + QByteArray::number(i);
        dir.write(name, name);
        pairs.push_back({name, "g" + QByteArray::number(i)});
    }
    RenameJob job(RenameJob::Work::Rename, dir.path(), pairs);
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
    RenameJob job(RenameJob::Work::Rename, "/", {});
    Watch watch;
    watch.attach(job);
    job.advance(std::chrono::milliseconds(5));
    EXPECT_TRUE(job.isFinished());
    EXPECT_EQ(watch.finished, 1);
    ASSERT_EQ(watch.progress.size(), 1u);
    EXPECT_EQ(watch.progress[0], (std::pair<qsizetype, qsizetype>(0, 0)));
}

} // namespace

namespace {

FileIdentity identityOf(const QByteArray &path)
{
    FileIdentity identity;
    EXPECT_EQ(identify(AT_FDCWD, path.constData(), identity), 0) << path.constData();
    return identity;
}

// Takes over the one journal left in `state` and runs it `direction`;
// `unsettled` files are expected to be left alone.
void recover(const QString &state, RenameJournal::Direction direction, std::size_t expectedFiles,
             std::size_t unsettled = 0)
{
    const QStringList left = RenameJournal::leftBehind(state);
    ASSERT_EQ(left.size(), 1);
    auto journal = std::make_unique<RenameJournal>();
    RenameJournal::Plan plan;
    ASSERT_EQ(journal->open(left[0], plan), QString());
    ASSERT_EQ(plan.pairs.size(), expectedFiles);
    int error = 0;
    const std::vector<FilePlace> places = locateFiles(plan, error);
    ASSERT_EQ(error, 0);
    RenameJob job(std::move(journal), plan, places, direction);
    job.runToEnd();
    EXPECT_EQ(job.journalError(), QString());
    EXPECT_EQ(job.batch().failureCount(), 0u);
    EXPECT_EQ(job.unsettled().size(), unsettled);
    EXPECT_TRUE(RenameJournal::leftBehind(state).isEmpty());
}

TEST(RenameJob, BatchKilledInTheMiddleIsFinishedOrPutBackFromItsJournal)
{
    // Two-cycles and chains, so that at the kill some files are parked.
    constexpr int Files = 3000;
    for (const auto direction :
         {RenameJournal::Direction::Forward, RenameJournal::Direction::Back}) {
        const bool forward = direction == RenameJournal::Direction::Forward;
        SCOPED_TRACE(forward ? "finish" : "put back");
        QTemporaryDir state;
        const TestFolder dir(QStringLiteral("/dev/shm"));
        const QByteArray folder = dir.path();
        std::vector<RenamePair> pairs;
        Listing before;
        Listing after;
        for (int i = 0; i < Files; ++i) {
            const QByteArray old = "f" + QByteArray::number(i).rightJustified(5, '0');
            QByteArray wanted;
            if (i % 4 < 2)
                wanted = "f" + QByteArray::number(i ^ 1).rightJustified(5, '0');
            else
                wanted = i % 4 == 3 ? "g" + QByteArray::number(i)
                                    : "f" + QByteArray::number(i + 1).rightJustified(5, '0');
            dir.write(old, "content of " + old);
            pairs.push_back({old, wanted, identityOf(folder + '/' + old)});
            before[old] = "content of " + old;
            after[wanted] = "content of " + old;
        }

        ASSERT_GT(testsupport::killOnceStarted([&](const std::function<void()> &started) {
                      RenameJob job(RenameJob::Work::Rename, folder, pairs, state.path());
                      job.advance(std::chrono::microseconds(500));
                      started();
                      while (!job.isFinished()) {
                          job.advance(std::chrono::microseconds(500));
                          ::usleep(1000);
                      }
                  }),
                  0)
            << "the batch ended before the kill";
        const Listing killed = dir.listing();
        ASSERT_NE(killed, before) << "the kill came before any rename";
        ASSERT_NE(killed, after) << "the kill came after the last rename";

        recover(state.path(), direction, Files);
        EXPECT_EQ(dir.listing(), forward ? after : before);
    }
}

TEST(RenameJob, FileUnderBothNamesKeepsTheOneAsked)
{
    // What a kill between the link and the unlink of the link fallback
    // leaves: one file under its old and its new name.
    for (const auto direction :
         {RenameJournal::Direction::Forward, RenameJournal::Direction::Back}) {
        const bool forward = direction == RenameJournal::Direction::Forward;
        SCOPED_TRACE(forward ? "finish" : "put back");
        QTemporaryDir state;
        const TestFolder dir;
        const QByteArray folder = dir.path();
        dir.create({{"a", "A"}, {"c", "C"}});
        RenameJournal::Plan plan;
        plan.folder = folder;
        plan.pairs = {{"a", "b", identityOf(folder + "/a")}, {"c", "d", identityOf(folder + "/c")}};
        plan.temporaryPrefixes = {"~lorvane-1-"};
        ASSERT_EQ(::link((folder + "/a").constData(), (folder + "/b").constData()), 0);
        // "c" was replaced by another file since: it is reported, not touched.
        ASSERT_EQ(::rename((folder + "/c").constData(), (folder + "/c.old").constData()), 0);
        dir.write("c", "other");
        {
            // Written and left, as by a program that was killed.
            RenameJournal journal;
            ASSERT_EQ(journal.begin(state.path(), plan), QString());
        }
        recover(state.path(), direction, 2, 1);
        EXPECT_EQ(dir.listing(),
                  (Listing{{forward ? "b" : "a", "A"}, {"c", "other"}, {"c.old", "C"}}));
    }
}

} // namespace
