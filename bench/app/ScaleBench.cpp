// The window at the top of the scale: 100,000 and 1,000,000 files on tmpfs,
// in one run. For each size, through the real main window:
//   readdir        a bare readdir loop over the folder (the floor)
//   open           constructing the window on the folder until both lists
//                  are painted
//   folder_change  changing to another folder of the same size with rules
//                  in force ("_x" after the base name, capitals, numbering)
//   keystroke      one key typed into txtFil (change rule, numbering before
//                  the extension, capitals) until List1 is repainted
//   startup        the lorvane program started on the folder, until its
//                  window is first painted
//   bare           a bare renameat2(RENAME_NOREPLACE) loop, every name
//                  changing (the floor for renaming)
//   rename_phase   the batch rename service on the same pairs
//   execution      CmdDoNow on the window (question answered at once) until
//                  the reloaded window is painted
// Each figure comes with the process's memory (RSS) after it and its peak
// during it, and at the end the ratios are printed beside their targets.
//
// LORVANE_SCALE_SIZES picks the sizes (default "100000,1000000"). The
// fixtures live in one folder under /dev/shm and are removed at the end; a
// size whose files do not fit in the free inodes is left out.
#include "BatchRename.h"
#include "BenchFolders.h"
#include "FailedRepetition.h"
#include "FileNameCodec.h"
#include "FolderListModel.h"
#include "Form1.h"
#include "MedianReporter.h"
#include "RenameEngine.h"
#include "RulesInForce.h"
#include "SayYes.h"
#include "UserSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace benchsupport;

const char *const ShmBase = "/dev/shm";

QString g_root; // every fixture lives under this folder
QString g_folderA;
QString g_folderB;
QString g_program; // the lorvane executable, for the start-up figure
QString g_config;  // settings folder with the start-up hint turned off

// --- Memory ------------------------------------------------------------------------

double statusMegabytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stod(line.substr(prefix.size())) / 1024.0;
    }
    return -1;
}

double rssMegabytes()
{
    return statusMegabytes("VmRSS");
}

// The peak (VmHWM) counts from here on.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double peakMegabytes()
{
    return statusMegabytes("VmHWM");
}

void reportMemory(benchmark::State &state)
{
    state.counters["rss_MB"] = rssMegabytes();
    state.counters["peak_MB"] = peakMegabytes();
}

// --- Fixtures ----------------------------------------------------------------------

QByteArray plainName(int i)
{
    return "f" + QByteArray::number(i).rightJustified(7, '0') + ".dat";
}

// What the execution's rule (FilBe with "x-") makes of plainName(i).
QByteArray renamedName(int i)
{
    return "f" + QByteArray::number(i).rightJustified(7, '0') + "x-.dat";
}

// A fresh, uniquely named folder of `files` plain names.
QString makePlainFolder(int files)
{
    return makeFolderOf(g_root, "exec", files, plainName);
}

bool enoughInodes(int files)
{
    struct statvfs fs
    {};
    if (::statvfs(ShmBase, &fs) != 0)
        return false;
    // Folders A and B, or later one execution folder at a time, and room to
    // spare for whoever else uses the file system.
    return fs.f_favail > 2ull * unsigned(files) + 100000;
}

// --- The window --------------------------------------------------------------------

// Counts what the two lists receive: paints, and the timer, layout and update
// events of their (batched) relayout.
class ListActivity : public QObject
{
public:
    explicit ListActivity(Form1 &form) : m_list1Viewport(form.List1->viewport())
    {
        for (QListView *view : {form.File1, form.List1}) {
            for (QObject *watched :
                 std::initializer_list<QObject *>{view, view->viewport(), view->verticalScrollBar(),
                                                  view->horizontalScrollBar()})
                watched->installEventFilter(this);
        }
    }

    int list1Paints() const { return m_list1Paints; }
    int events() const { return m_events; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            if (watched == m_list1Viewport)
                ++m_list1Paints;
            ++m_events;
            break;
        case QEvent::Timer:
        case QEvent::UpdateRequest:
        case QEvent::LayoutRequest:
            ++m_events;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QObject *m_list1Viewport;
    int m_list1Paints = 0;
    int m_events = 0;
};

// Lets the event loop run until List1 has been painted since `paintsBefore`
// and two passes in a row brought the lists nothing more to do: the state a
// person sees. False when that never happens.
bool settle(const ListActivity &activity, int paintsBefore)
{
    int quietPasses = 0;
    for (int pass = 0; pass < 200000; ++pass) {
        const int before = activity.events();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const bool quiet = activity.events() == before && activity.list1Paints() > paintsBefore;
        quietPasses = quiet ? quietPasses + 1 : 0;
        if (quietPasses == 2)
            return true;
    }
    return false;
}

struct Window
{
    std::unique_ptr<Form1> form;
    std::unique_ptr<ListActivity> activity;

    bool settle(int paintsBefore) const { return ::settle(*activity, paintsBefore); }
    int paints() const { return activity->list1Paints(); }
};

Window openWindow(const QString &folder)
{
    Window window;
    window.form = std::make_unique<Form1>(folder);
    window.activity = std::make_unique<ListActivity>(*window.form);
    return window;
}

// The window the folder change and the keystroke share, made on first use.
Window g_shared;

Window &sharedWindow()
{
    if (!g_shared.form) {
        g_shared = openWindow(g_folderA);
        (void)g_shared.settle(0);
    }
    return g_shared;
}

void dropSharedWindow()
{
    g_shared.activity.reset();
    g_shared.form.reset();
}

int file1Count(const Window &window)
{
    return window.form->File1Model()->count();
}

// --- Benchmarks --------------------------------------------------------------------

void BM_Readdir(benchmark::State &state, int files)
{
    bool toB = false;
    int seen = 0;
    for (auto _ : state) {
        seen = readdirLoop(toB ? g_folderB : g_folderA);
        toB = !toB;
    }
    if (seen < files)
        state.SkipWithError("folder incomplete");
    reportMemory(state);
}

void BM_Open(benchmark::State &state, int files)
{
    resetPeak();
    double rssOpen = 0;
    for (auto _ : state) {
        Window window = openWindow(g_folderA);
        const bool painted = window.settle(0);
        state.PauseTiming();
        rssOpen = rssMegabytes();
        const bool complete = file1Count(window) == files;
        window.activity.reset();
        window.form.reset();
        state.ResumeTiming();
        if (!painted || !complete) {
            state.SkipWithError("the window did not show the folder");
            break;
        }
    }
    state.counters["rss_MB"] = rssOpen;
    state.counters["peak_MB"] = peakMegabytes();
}

// The folder changes of the size being measured, across its repetitions:
// memory must stay steady however often the folder changes.
struct FolderChanges
{
    double rssFirst = -1;
    int count = 0;
};
FolderChanges g_changes;

void BM_FolderChange(benchmark::State &state, int files)
{
    Window &window = sharedWindow();
    lorvane::RenameEngine &engine = window.form->engine();
    if (!engine.FilBe().isSelected()) {
        putRulesInForce(engine);
        (void)window.settle(window.paints());
    }
    resetPeak();
    for (auto _ : state) {
        // Always to the folder the window does not show: a "change" to the
        // folder shown lists nothing and paints nothing. The shared window of
        // each size starts on folder A, whatever the size before left.
        const bool toB = window.form->File1Model()->path() != g_folderB;
        window.form->PathChange(toB ? g_folderB : g_folderA);
        const bool painted = window.settle(window.paints());
        if (!painted || file1Count(window) != files) {
            state.SkipWithError("the window did not show the folder");
            break;
        }
        if (g_changes.count++ == 0) {
            state.PauseTiming();
            g_changes.rssFirst = rssMegabytes();
            state.ResumeTiming();
        }
    }
    reportMemory(state);
    state.counters["growth_MB"] = rssMegabytes() - g_changes.rssFirst;
    state.counters["changes"] = g_changes.count;
}

void typeInto(QWidget *box, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

void BM_Keystroke(benchmark::State &state, int files)
{
    Window &window = sharedWindow();
    Form1 &form = *window.form;
    lorvane::RenameEngine &engine = form.engine();
    if (!engine.reFil().isSelected()) {
        putKeystrokeRules(engine);
        (void)window.settle(window.paints());
    }
    resetPeak();
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        if (longer)
            typeInto(form.txtFil, Qt::Key_X, QStringLiteral("x"));
        else
            typeInto(form.txtFil, Qt::Key_Backspace, QString());
        if (!window.settle(window.paints())) {
            state.SkipWithError("List1 was not repainted");
            break;
        }
    }
    const QString expected =
        QStringLiteral("NEW NAME%1").arg(longer ? QStringLiteral("X") : QString());
    if (file1Count(window) != files || !form.List1Names().constFirst().startsWith(expected))
        state.SkipWithError("the keystroke did not reach the preview");
    reportMemory(state);
}

void BM_Startup(benchmark::State &state, int)
{
    dropSharedWindow();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), g_config);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")));
    rusage before{};
    ::getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProgram(g_program);
        process.setArguments({g_folderA});
        process.start();
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            state.SkipWithError("lorvane did not start and end cleanly");
            break;
        }
    }
    rusage after{};
    ::getrusage(RUSAGE_CHILDREN, &after);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    const double childCpu = seconds(after.ru_utime) + seconds(after.ru_stime) -
                            seconds(before.ru_utime) - seconds(before.ru_stime);
    // The program runs in a child: its CPU time is not in the CPU column.
    state.counters["child_cpu_ms"] = 1000 * childCpu / double(qMax<qint64>(1, state.iterations()));
    state.counters["child_peak_MB"] = double(after.ru_maxrss) / 1024.0;
}

// From here on every benchmark renames in folders of its own.
void dropListingFolders()
{
    dropSharedWindow();
    removeFolder(g_folderA);
    removeFolder(g_folderB);
}

void BM_Bare(benchmark::State &state, int files)
{
    dropListingFolders();
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = makePlainFolder(files);
        state.ResumeTiming();
        const int dirFd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY);
        int failures = 0;
        for (int i = 0; i < files; ++i) {
            if (::renameat2(dirFd, plainName(i).constData(), dirFd, renamedName(i).constData(),
                            RENAME_NOREPLACE) != 0)
                ++failures;
        }
        ::close(dirFd);
        state.PauseTiming();
        removeFolder(folder);
        state.ResumeTiming();
        if (failures != 0) {
            state.SkipWithError("bare loop failed");
            break;
        }
    }
}

void BM_RenamePhase(benchmark::State &state, int files)
{
    dropListingFolders();
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = makePlainFolder(files);
        std::vector<lorvane::RenamePair> pairs;
        pairs.reserve(size_t(files));
        for (int i = 0; i < files; ++i)
            pairs.push_back({plainName(i), renamedName(i)});
        state.ResumeTiming();
        lorvane::BatchRename batch(QFile::encodeName(folder), std::move(pairs));
        batch.runAll();
        state.PauseTiming();
        const bool ok = batch.failureCount() == 0;
        removeFolder(folder);
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the service did not rename every file");
            break;
        }
    }
}

void BM_Execution(benchmark::State &state, int files)
{
    dropListingFolders();
    SayYes sayYes;
    double peak = 0;
    double rss = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = makePlainFolder(files);
        Window window = openWindow(folder);
        lorvane::RenameEngine &engine = window.form->engine();
        engine.FilBe().select();
        engine.txtFil().setText(QStringLiteral("x-"));
        (void)window.settle(0);
        const QString lastWanted = window.form->List1Names().constLast();
        resetPeak();
        state.ResumeTiming();

        window.form->CmdDoNow_Click();
        const bool painted = window.settle(window.paints());

        state.PauseTiming();
        peak = peakMegabytes();
        rss = rssMegabytes();
        const FolderListModel &file1 = *window.form->File1Model();
        const bool complete = file1.count() == files && file1.names().contains(lastWanted) &&
                              lastWanted != QString::fromLatin1(plainName(files - 1));
        window.activity.reset();
        window.form.reset();
        removeFolder(folder);
        state.ResumeTiming();
        if (!painted || !complete) {
            state.SkipWithError("the window does not show every file renamed");
            break;
        }
    }
    state.counters["rss_MB"] = rss;
    state.counters["peak_MB"] = peak;
}

// --- Report ------------------------------------------------------------------------

using Figure = MedianReporter::Times;

// Prints, after all sizes, each figure beside its target.
class TargetReporter : public MedianReporter
{
public:
    void printTargets(const std::vector<int> &sizes) const
    {
        std::printf("\nMedians in ms, wall clock / CPU time of this process; memory in MB.\n");
        for (int files : sizes) {
            const std::string n = std::to_string(files);
            const Figure readdir = of("readdir/" + n);
            const Figure open = of("open/" + n);
            const Figure change = of("folder_change/" + n);
            const Figure key = of("keystroke/" + n);
            const Figure startup = of("startup/" + n);
            const Figure bare = of("bare/" + n);
            const Figure phase = of("rename_phase/" + n);
            const Figure exec = of("execution/" + n);
            std::printf("\n%d files\n", files);
            line("readdir loop", readdir, "");
            ratio("folder change with rules", change, readdir, "x readdir", 3.0, Goal::AtMost);
            ratio("first open", open, change, "x folder change", 2.0, Goal::AtMost);
            limit("keystroke to List1 repainted", key, files >= 1'000'000 ? 40.0 : 6.0);
            if (startup.real >= 0) {
                std::printf("  %-34s %9.1f  (child CPU %.1f)", "start-up to first paint",
                            startup.real, startup.counter("child_cpu_ms"));
                if (files == 100'000)
                    verdict(startup.real, startup.counter("child_cpu_ms"), 300.0, Goal::AtMost,
                            "ms");
                std::printf("\n");
            }
            line("bare renameat2 loop", bare, "");
            if (phase.real > 0 && bare.real > 0) {
                std::printf("  %-34s %9.1f / %9.1f", "rename phase (service)", phase.real,
                            phase.cpu);
                std::printf("   speed %.3f / %.3f of the bare loop", bare.real / phase.real,
                            bare.cpu / phase.cpu);
                verdict(bare.real / phase.real, bare.cpu / phase.cpu, 0.95, Goal::AtLeast, "");
                std::printf("\n");
            }
            ratio("CmdDoNow to reloaded window", exec, bare, "x bare loop", 1.25, Goal::AtMost);
            std::printf("  memory: after open %.0f, after folder changes %.0f (growth %+.0f since "
                        "the first of %.0f changes, medians), peak during execution %.0f",
                        open.counter("rss_MB"), change.counter("rss_MB"),
                        change.counter("growth_MB"), change.counter("changes"),
                        exec.counter("peak_MB"));
            if (files >= 1'000'000) {
                const double worst = std::max(
                    {open.counter("rss_MB"), change.counter("rss_MB"), key.counter("rss_MB")});
                std::printf("; largest after an action %.0f", worst);
                verdict(worst, worst, 400.0, Goal::AtMost, "MB");
            }
            std::printf("\n");
        }
    }

private:
    enum class Goal { AtMost, AtLeast };

    static void verdict(double real, double cpu, double target, Goal goal, const char *unit)
    {
        const auto met = [&](double v) { return goal == Goal::AtMost ? v <= target : v >= target; };
        const char *word =
            met(real) && met(cpu) ? "met" : (met(cpu) ? "met in CPU time" : "MISSED");
        std::printf("   target %s %g%s: %s", goal == Goal::AtMost ? "<=" : ">=", target, unit,
                    word);
    }

    static void line(const char *what, const Figure &figure, const char *)
    {
        if (figure.real < 0)
            return;
        std::printf("  %-34s %9.1f / %9.1f\n", what, figure.real, figure.cpu);
    }

    static void limit(const char *what, const Figure &figure, double target)
    {
        if (figure.real < 0)
            return;
        std::printf("  %-34s %9.1f / %9.1f", what, figure.real, figure.cpu);
        verdict(figure.real, figure.cpu, target, Goal::AtMost, " ms");
        std::printf("\n");
    }

    static void ratio(const char *what, const Figure &figure, const Figure &base, const char *of,
                      double target, Goal goal)
    {
        if (figure.real < 0)
            return;
        std::printf("  %-34s %9.1f / %9.1f", what, figure.real, figure.cpu);
        if (base.real > 0 && base.cpu > 0) {
            const double real = figure.real / base.real;
            const double cpu = figure.cpu / base.cpu;
            std::printf("   %.2f / %.2f%s", real, cpu, of);
            verdict(real, cpu, target, goal, "x");
        }
        std::printf("\n");
    }
};

std::vector<int> sizesWanted()
{
    const QString wanted =
        qEnvironmentVariable("LORVANE_SCALE_SIZES", QStringLiteral("100000,1000000"));
    std::vector<int> sizes;
    for (const QString &size : wanted.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int files = size.trimmed().toInt(&ok);
        if (ok && files > 0)
            sizes.push_back(files);
    }
    return sizes;
}

void registerSize(int files)
{
    const std::string n = "/" + std::to_string(files);
    const int reps = files >= 1'000'000 ? 3 : 5;
    const auto add = [&](const char *name, void (*fn)(benchmark::State &, int)) {
        return benchmark::RegisterBenchmark(
                   (name + n).c_str(),
                   failingAfterFailure([fn, files](benchmark::State &state) { fn(state, files); }))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(reps)
            ->ReportAggregatesOnly(true);
    };
    add("readdir", BM_Readdir);
    add("open", BM_Open)->Iterations(1);
    add("folder_change", BM_FolderChange);
    add("keystroke", BM_Keystroke);
    add("startup", BM_Startup)->Iterations(files >= 1'000'000 ? 1 : 3);
    add("bare", BM_Bare)->Iterations(1);
    add("rename_phase", BM_RenamePhase)->Iterations(1);
    add("execution", BM_Execution)->Iterations(1);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A settings folder of our own, with the start-up hint turned off.
    QTemporaryDir config;
    g_config = config.path();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_config));
    QApplication app(argc, argv);
    lorvane::UserSettings().setValue(QStringLiteral("Lorvane"), QStringLiteral("Quary"),
                                     QStringLiteral("N"));
    g_program = QCoreApplication::applicationDirPath() + QStringLiteral("/../lorvane");
    if (!QFile::exists(g_program)) {
        std::fprintf(stderr, "no program at %s\n", qPrintable(g_program));
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    g_root = QStringLiteral("%1/lorvane-scale-%2").arg(QLatin1String(ShmBase)).arg(::getpid());
    TargetReporter reporter;
    std::vector<int> measured;
    for (int files : sizesWanted()) {
        if (!enoughInodes(files)) {
            std::fprintf(stderr, "%s has too few free inodes for %d files: left out\n", ShmBase,
                         files);
            continue;
        }
        g_folderA = g_root + QStringLiteral("/a");
        g_folderB = g_root + QStringLiteral("/b");
        if (fillMixed(g_folderA, files, 1) != files || fillMixed(g_folderB, files, 2) != files) {
            std::fprintf(stderr, "cannot create %d files twice in %s: left out\n", files, ShmBase);
            removeFolder(g_root);
            continue;
        }
        benchmark::ClearRegisteredBenchmarks();
        g_changes = {};
        registerSize(files);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        dropSharedWindow();
        removeFolder(g_root);
        measured.push_back(files);
    }
    reporter.printTargets(measured);
    benchmark::Shutdown();
    return 0;
}
