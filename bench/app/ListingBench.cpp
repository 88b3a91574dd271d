// Listing a folder of 100,000 files into the main window: from a change of
// txtPath until File1 and List1 are both filled (rules in force) and the views
// have taken the change, next to a plain readdir loop over the same folder.
// The fixture lives on /dev/shm; the figures do not depend on the disk.
#include "DirectoryListing.h"
#include "FolderListModel.h"
#include "Form1.h"
#include "NameClashes.h"
#include "RenameEngine.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include "BenchFolders.h"
#include "MedianReporter.h"
#include "RulesInForce.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include <unistd.h>

namespace {

constexpr int FileCount = 100'000;

struct Fixture
{
    QString root;
    QString folderA;
    QString folderB;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

Form1 &window()
{
    static Form1 *form = [] {
        auto *f = new Form1(fixture().folderA);
        benchsupport::putRulesInForce(f->engine());
        QCoreApplication::processEvents();
        return f;
    }();
    return *form;
}

void BM_ListIntoFile1AndList1(benchmark::State &state)
{
    Form1 &form = window();
    // Across repetitions too: every iteration must really change the folder.
    static bool toB = true;
    for (auto _ : state) {
        form.PathChange(toB ? fixture().folderB : fixture().folderA);
        toB = !toB;
        // The views lay out the new rows on the next pass of the event loop.
        QCoreApplication::processEvents();
        if (form.File1Model()->count() != FileCount || form.List1Names().size() != FileCount)
            state.SkipWithError("listing incomplete");
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
    state.counters["files"] = form.File1Model()->count();
    benchmark::DoNotOptimize(form.List1Names().constFirst());
}

void BM_PlainReaddirLoop(benchmark::State &state)
{
    static bool toB = true;
    int seen = 0;
    for (auto _ : state) {
        seen = benchsupport::readdirLoop(toB ? fixture().folderB : fixture().folderA);
        toB = !toB;
    }
    state.SetItemsProcessed(state.iterations() * FileCount);
    state.counters["entries"] = seen;
}

// The share of the folder listing itself (read, decode, filter, natural order).
void BM_ListDirectoryOnly(benchmark::State &state)
{
    static bool toB = true;
    std::size_t seen = 0;
    for (auto _ : state) {
        const QByteArray path = QFile::encodeName(toB ? fixture().folderB : fixture().folderA);
        toB = !toB;
        seen = lorvane::listDirectory(path, lorvane::EntryKind::Files).entries.size();
    }
    state.counters["files"] = double(seen);
}

// The share of the clash marks in a listing: what the window does for them after
// each listing, on the names the window holds (the listing benchmark includes it).
void BM_MarkingOfAListing(benchmark::State &state)
{
    Form1 &form = window();
    const QStringList names = form.File1Model()->names();
    const QStringList &unlisted = form.File1Model()->unlisted();
    const QStringList preview = form.List1Names();
    lorvane::NameClashFinder finder;
    for (auto _ : state) {
        finder.setFolder(names, unlisted);
        benchmark::DoNotOptimize(finder.find(preview, {}).data());
    }
    state.counters["files"] = double(names.size());
}

BENCHMARK(BM_ListIntoFile1AndList1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MarkingOfAListing)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainReaddirLoop)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListDirectoryOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the figures as usual and then the ratio of the two medians (or of the
// single runs when there are no repetitions).
void printRatio(const MedianReporter &reporter)
{
    const double listing = reporter.real("BM_ListIntoFile1AndList1");
    const double readdir = reporter.real("BM_PlainReaddirLoop");
    if (listing < 0 || readdir <= 0)
        return;
    std::printf("ratio listing/readdir: %.2fx (%.2f ms / %.2f ms, target <= 3x)\n",
                listing / readdir, listing, readdir);
    const double marking = reporter.real("BM_MarkingOfAListing");
    if (marking > 0 && marking < listing)
        std::printf("ratio listing/listing without marks: %.3fx (%.2f ms of %.2f ms, "
                    "target <= 1.10x)\n",
                    listing / (listing - marking), marking, listing);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private settings folder: the start-up hint must not wait for an answer.
    const QString root = QStringLiteral("/dev/shm/lorvane-bench-%1").arg(::getpid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
    QDir().mkpath(root + "/config/bench_ListingBench");
    {
        QFile conf(root + "/config/bench_ListingBench/bench_ListingBench.conf");
        if (conf.open(QIODevice::WriteOnly))
            conf.write("[Lorvane]\nQuary=N\n");
    }
    QApplication app(argc, argv);
    fixture() = {root, root + "/a", root + "/b"};
    benchsupport::fillMixed(fixture().folderA, FileCount, 1);
    benchsupport::fillMixed(fixture().folderB, FileCount, 2);

    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatio(reporter);
    benchmark::Shutdown();

    benchsupport::removeFolder(root);
    return 0;
}
