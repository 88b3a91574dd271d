// Renames 10,000 and 100,000 files four ways over the same names: through
// BatchRename, through RenameJob (BatchRename with the identity check of every
// file and the journal, synced, in the journal folder), with a bare
// renameat2(RENAME_NOREPLACE) loop (what the kernel can do at best) and with
// Debian's perl `rename` tool when it is installed.
// Each iteration works in a fresh, uniquely named folder, on tmpfs and on
// the disk (LORVANE_BENCH_DISK, /var/tmp by default), because a folder that
// just had many files deleted is slow to fill again on ext4.
#include "BatchRename.h"
#include "RenameJob.h"

#include "BenchFolders.h"
#include "MedianReporter.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lorvane;

namespace {

enum class Method { Service, Job, BareLoop, PerlRename };

const char *PerlRenameTool = "/usr/bin/file-rename";

std::vector<std::string> g_leftovers;

std::string diskBase()
{
    const char *base = std::getenv("LORVANE_BENCH_DISK");
    return base && *base ? base : "/var/tmp";
}

std::vector<RenamePair> namesFor(int files)
{
    std::vector<RenamePair> pairs;
    pairs.reserve(files);
    for (int i = 0; i < files; ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(6, '0');
        pairs.push_back({"f" + number + ".dat", "g" + number + ".dat"});
    }
    return pairs;
}

std::string makeFolder(const std::string &base, const std::vector<RenamePair> &pairs)
{
    return benchsupport::makeFolderOf(QString::fromStdString(base), "lorvane-bench",
                                      int(pairs.size()),
                                      [&pairs](int i) { return pairs[size_t(i)].from; })
        .toStdString();
}

bool bareLoop(const std::string &folder, const std::vector<RenamePair> &pairs)
{
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    bool ok = dirFd >= 0;
    for (const RenamePair &pair : pairs) {
        if (::renameat2(dirFd, pair.from.constData(), dirFd, pair.to.constData(),
                        RENAME_NOREPLACE) != 0)
            ok = false;
    }
    ::close(dirFd);
    return ok;
}

bool service(const std::string &folder, const std::vector<RenamePair> &pairs)
{
    BatchRename batch(QByteArray::fromStdString(folder), pairs);
    batch.runAll();
    return batch.failureCount() == 0;
}

bool job(const std::string &folder, const std::vector<RenamePair> &pairs)
{
    RenameJob job(RenameJob::Work::Rename, QByteArray::fromStdString(folder), pairs);
    job.runToEnd();
    return job.journalError().isEmpty() && job.batch().failureCount() == 0;
}

// The identities the listing would have recorded.
std::vector<RenamePair> identified(const std::string &folder, std::vector<RenamePair> pairs)
{
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (RenamePair &pair : pairs)
        (void)identify(dirFd, pair.from.constData(), pair.identity);
    ::close(dirFd);
    return pairs;
}

bool perlRename(const std::string &folder, const std::vector<RenamePair> &pairs)
{
    int input[2];
    if (::pipe(input) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(input[0], 0);
        ::close(input[0]);
        ::close(input[1]);
        if (::chdir(folder.c_str()) != 0)
            ::_exit(127);
        ::execl(PerlRenameTool, PerlRenameTool, "-0", "s/^f/g/", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(input[0]);
    std::string names;
    for (const RenamePair &pair : pairs) {
        names.append(pair.from.constData(), pair.from.size());
        names.push_back('\0');
    }
    for (std::size_t written = 0; written < names.size();) {
        const auto n = ::write(input[1], names.data() + written, names.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    ::close(input[1]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void renameFiles(benchmark::State &state, Method method, const std::string &base)
{
    const int files = static_cast<int>(state.range(0));
    const std::vector<RenamePair> pairs = namesFor(files);
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = makeFolder(base, pairs);
        if (folder.empty()) {
            state.SkipWithError("cannot create the folder");
            break;
        }
        const std::vector<RenamePair> listed =
            method == Method::Job ? identified(folder, pairs) : std::vector<RenamePair>();
        state.ResumeTiming();
        bool ok = false;
        switch (method) {
        case Method::Service:
            ok = service(folder, pairs);
            break;
        case Method::Job:
            ok = job(folder, listed);
            break;
        case Method::BareLoop:
            ok = bareLoop(folder, pairs);
            break;
        case Method::PerlRename:
            ok = perlRename(folder, pairs);
            break;
        }
        state.PauseTiming();
        struct stat last
        {};
        ok = ok && ::stat((folder + "/" + pairs.back().to.toStdString()).c_str(), &last) == 0;
        // Deleting on the disk now would slow down the next fill; tmpfs is cheap.
        if (base == "/dev/shm")
            benchsupport::removeFolder(QString::fromStdString(folder));
        else
            g_leftovers.push_back(folder);
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("not every file was renamed");
            break;
        }
    }
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(files),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

// Collects the median time of every benchmark and prints, after the table,
// each method's speed as a share of the bare loop's.
// On a busy machine the wall clock mostly measures waiting; the CPU time of this
// process tells the cost of the work itself (the perl tool runs in a child, so it
// has wall-clock figures only).
void printShares(const MedianReporter &reporter)
{
    std::printf("\nfiles/s as a share of the bare renameat2 loop (medians; real time, "
                "CPU time):\n");
    for (const auto &[name, times] : reporter.times()) {
        const auto method = name.find('/');
        if (name.compare(0, method, "bare") == 0)
            continue;
        const std::string bare = "bare" + name.substr(method);
        if (reporter.real(bare) < 0)
            continue;
        if (name.compare(0, method, "service") == 0 || name.compare(0, method, "job") == 0)
            std::printf("  %-32s %.3f  %.3f\n", name.c_str(), reporter.real(bare) / times.real,
                        reporter.cpu(bare) / times.cpu);
        else
            std::printf("  %-32s %.3f\n", name.c_str(), reporter.real(bare) / times.real);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::pair<std::string, std::string>> places{{"shm", "/dev/shm"},
                                                                  {"disk", diskBase()}};
    const bool havePerl = ::access(PerlRenameTool, X_OK) == 0;
    for (const auto &[place, base] : places) {
        std::vector<std::pair<std::string, Method>> methods{
            {"service", Method::Service}, {"job", Method::Job}, {"bare", Method::BareLoop}};
        if (havePerl)
            methods.emplace_back("perl-rename", Method::PerlRename);
        for (const auto &[label, method] : methods) {
            benchmark::RegisterBenchmark((label + "/" + place).c_str(), renameFiles, method, base)
                ->Arg(10000)
                ->Arg(100000)
                ->Iterations(1)
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    if (!havePerl)
        std::fprintf(stderr, "%s is not installed: measuring without it\n", PerlRenameTool);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printShares(reporter);
    benchmark::Shutdown();
    for (const std::string &folder : g_leftovers)
        benchsupport::removeFolder(QString::fromStdString(folder));
    return 0;
}
