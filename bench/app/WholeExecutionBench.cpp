// A whole execution of 100,000 files through the main window: from the
// click of CmdDoNow (the question answered at once) through the progress
// window and the renames to the window listing the folder again. Next to it,
// in the same run and over the same names, a bare renameat2(RENAME_NOREPLACE)
// loop and the listing of the renamed folder into the window; the goal is an
// execution no slower than twice the bare loop plus the listing. Each
// iteration gets a fresh, uniquely named folder, on tmpfs and on the disk
// (LORVANE_BENCH_DISK, /var/tmp by default).
#include "FileNameCodec.h"
#include "FolderListModel.h"
#include "Form1.h"
#include "RenameEngine.h"
#include "SayYes.h"
#include "UserSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "BenchFolders.h"
#include "MedianReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FileCount = 100'000;

std::string diskBase()
{
    const char *base = std::getenv("LORVANE_BENCH_DISK");
    return base && *base ? base : "/var/tmp";
}

QByteArray oldName(int i)
{
    return "f" + QByteArray::number(i).rightJustified(6, '0') + ".dat";
}

QString makeFolder(const std::string &base)
{
    return benchsupport::makeFolderOf(QString::fromStdString(base), "lorvane-exec-bench", FileCount,
                                      oldName);
}

// Folders on the disk are removed only at the end: refilling ext4 right after
// deleting many files is slow and would distort the next iteration.
std::vector<QString> g_leftovers;

void dispose(const QString &folder, const std::string &base)
{
    if (base == "/dev/shm")
        benchsupport::removeFolder(folder);
    else
        g_leftovers.push_back(folder);
}

// The preview the execution renames to: "x-" before every name.
void applyRule(Form1 &form)
{
    lorvane::RenameEngine &engine = form.engine();
    engine.FilBe().select();
    engine.txtFil().setText(QStringLiteral("x-"));
    QCoreApplication::processEvents();
}

std::vector<QByteArray> &previewNames()
{
    static std::vector<QByteArray> names;
    return names;
}

void wholeExecution(benchmark::State &state, const std::string &base)
{
    SayYes sayYes;
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = makeFolder(base);
        auto form = std::make_unique<Form1>(folder);
        applyRule(*form);
        const QStringList preview = form->List1Names();
        if (previewNames().empty()) {
            for (const QString &name : preview)
                previewNames().push_back(lorvane::encodeFileName(name));
        }
        state.ResumeTiming();

        form->CmdDoNow_Click();
        QCoreApplication::processEvents();

        state.PauseTiming();
        const bool complete = form->File1Model()->count() == FileCount &&
                              form->File1Model()->names().contains(preview.constFirst());
        form.reset();
        dispose(folder, base);
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("the window does not show every file renamed");
            break;
        }
    }
    state.counters["files/s"] =
        benchmark::Counter(double(FileCount), benchmark::Counter::kIsIterationInvariantRate);
}

void bareLoop(benchmark::State &state, const std::string &base)
{
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = makeFolder(base);
        if (previewNames().size() != size_t(FileCount)) {
            state.SkipWithError("run the whole execution first: it fixes the new names");
            break;
        }
        state.ResumeTiming();
        const int dirFd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY);
        int failures = 0;
        for (int i = 0; i < FileCount; ++i) {
            if (::renameat2(dirFd, oldName(i).constData(), dirFd,
                            previewNames()[size_t(i)].constData(), RENAME_NOREPLACE) != 0)
                ++failures;
        }
        ::close(dirFd);
        state.PauseTiming();
        dispose(folder, base);
        state.ResumeTiming();
        if (failures != 0) {
            state.SkipWithError("bare loop failed");
            break;
        }
    }
    state.counters["files/s"] =
        benchmark::Counter(double(FileCount), benchmark::Counter::kIsIterationInvariantRate);
}

// Reading the folder again into the window, as the end of an execution does.
void listing(benchmark::State &state, const std::string &base)
{
    const QString folder = makeFolder(base);
    Form1 form(folder);
    for (auto _ : state) {
        form.File1Model()->refresh();
        form.Form_Load();
        QCoreApplication::processEvents();
    }
    if (form.File1Model()->count() != FileCount)
        state.SkipWithError("listing incomplete");
    dispose(folder, base);
}

// The CPU figures tell the cost of the work where a busy machine makes the wall
// clock mostly measure waiting.
void printRatios(const MedianReporter &reporter)
{
    std::printf("\nwhole execution / (2 x bare loop + listing), medians (goal <= 1):\n");
    for (const bool cpu : {false, true}) {
        for (const char *place : {"shm", "disk"}) {
            const auto get = [&](const char *what) {
                const std::string name = std::string(what) + "/" + place;
                return cpu ? reporter.cpu(name) : reporter.real(name);
            };
            const double exec = get("execution");
            const double bare = get("bare");
            const double list = get("listing");
            if (exec < 0 || bare < 0 || list < 0)
                continue;
            std::printf(
                "  %-5s %-4s %.3f  (execution %.0f ms, bare loop %.0f ms, listing %.0f ms)\n",
                place, cpu ? "cpu" : "real", exec / (2 * bare + list), exec, bare, list);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A settings folder of our own, with the start-up hint turned off.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    lorvane::UserSettings().setValue(QStringLiteral("Lorvane"), QStringLiteral("Quary"),
                                     QStringLiteral("N"));

    for (const auto &[place, base] : std::vector<std::pair<std::string, std::string>>{
             {"shm", "/dev/shm"}, {"disk", diskBase()}}) {
        benchmark::RegisterBenchmark(("execution/" + place).c_str(), wholeExecution, base)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("bare/" + place).c_str(), bareLoop, base)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("listing/" + place).c_str(), listing, base)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    for (const QString &folder : g_leftovers)
        benchsupport::removeFolder(folder);
    return 0;
}
