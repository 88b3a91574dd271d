// Cost of one keystroke in the rule text boxes on large folders, against a baseline
// pass that builds one new string per name. Each keystroke benchmark also times that
// baseline on the same names, in the same run, and reports it as "baseline_ms" and
// the ratio keystroke / baseline as "x_baseline".
#include "FileList.h"
#include "NameClashes.h"
#include "RenameEngine.h"
#include "RulesInForce.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <chrono>

#include <time.h>

using namespace lorvane;

namespace {

class BenchFolder : public FileList
{
public:
    explicit BenchFolder(int n)
    {
        m_names.reserve(n);
        for (int i = 0; i < n; ++i) {
            // A mix of plain, Arabic, several-dot and extension-less names.
            switch (i % 4) {
            case 0:
                m_names.append(QStringLiteral("holiday photo %1.jpg").arg(i));
                break;
            case 1:
                m_names.append(QStringLiteral("تقرير السنة %1.docx").arg(i));
                break;
            case 2:
                m_names.append(QStringLiteral("backup.%1.tar.gz").arg(i));
                break;
            default:
                m_names.append(QStringLiteral("README_%1").arg(i));
                break;
            }
        }
    }
    int count() const override { return int(m_names.size()); }
    QString entry(int index) const override { return m_names.at(index); }
    QString pattern() const override { return m_pattern; }
    void setPattern(const QString &pattern) override { m_pattern = pattern; }
    QString path() const override { return QStringLiteral("/bench"); }
    const QStringList &names() const { return m_names; }

private:
    QStringList m_names;
    QString m_pattern = QStringLiteral("*.*");
};

using Clock = std::chrono::steady_clock;

// The baseline: N new strings built from N names.
double baselinePass(const QStringList &names)
{
    const auto start = Clock::now();
    QStringList built;
    built.reserve(names.size());
    for (const QString &name : names)
        built.append(name + u'1');
    benchmark::DoNotOptimize(built);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Times one keystroke per iteration (manual time, so that the CPU column shows the
// keystrokes alone), then as many baseline passes on the same names for the ratio.
template <typename Keystroke>
void runKeystrokes(benchmark::State &state, const BenchFolder &folder, Keystroke &&keystroke)
{
    double keystrokes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        keystroke();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        keystrokes += seconds;
    }
    const qint64 passes = qMax<qint64>(1, qMin<qint64>(state.iterations(), 50));
    double baselines = 0;
    for (qint64 i = 0; i < passes; ++i)
        baselines += baselinePass(folder.names());
    const double perKeystroke = keystrokes / double(state.iterations());
    state.counters["baseline_ms"] = 1000 * baselines / double(passes);
    state.counters["x_baseline"] = perKeystroke / (baselines / double(passes));
    state.counters["names"] = double(folder.count());
}

void BM_Baseline(benchmark::State &state)
{
    const BenchFolder folder(int(state.range(0)));
    for (auto _ : state)
        state.SetIterationTime(baselinePass(folder.names()));
    state.counters["names"] = double(folder.count());
}

// One keystroke in txtFil under the change rule, with numbering before the extension
// and capital letters in force: every entry is rebuilt, numbered and capitalised.
void BM_KeystrokeTxtFil(benchmark::State &state)
{
    BenchFolder folder(int(state.range(0)));
    RenameEngine engine(folder);
    engine.Form_Load();
    benchsupport::putKeystrokeRules(engine);
    bool longer = false;
    runKeystrokes(state, folder, [&] {
        longer = !longer;
        engine.txtFil().userEdit(longer ? QStringLiteral("new namex") : QStringLiteral("new name"));
    });
    benchmark::DoNotOptimize(engine.List1().entries());
}

// Processor time of this thread: on a busy machine the wall clock mostly measures
// waiting for a core.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The same txtFil keystroke with and without the clash marks that the window finds
// after every published change, alternating in one run. The iteration time is the
// keystroke with marking; "plain_ms" is the keystroke alone and "x_plain" the ratio of
// the two; "marking_ms" is the finding of the marks alone. The "_cpu" counters are the
// same figures in processor time.
void BM_KeystrokeTxtFilMarking(benchmark::State &state)
{
    BenchFolder folder(int(state.range(0)));
    RenameEngine engine(folder);
    engine.Form_Load();
    NameClashFinder finder;
    QStringList unlisted;
    for (int i = 0; i < 100; ++i)
        unlisted << QStringLiteral(".hidden %1").arg(i) << QStringLiteral("folder %1").arg(i);
    finder.setFolder(folder.names(), unlisted);
    const std::vector<bool> excluded;
    bool marking = false;
    double markingSeconds = 0;
    double markingCpu = 0;
    const auto mark = [&] {
        if (!marking)
            return;
        const auto start = Clock::now();
        const double cpu = threadSeconds();
        benchmark::DoNotOptimize(finder.find(engine.List1(), excluded).data());
        markingCpu += threadSeconds() - cpu;
        markingSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    };
    QObject::connect(&engine.List1(), &PreviewList::entriesChanged, mark);
    QObject::connect(&engine.List1(), &PreviewList::entriesReset, mark);
    benchsupport::putKeystrokeRules(engine);
    bool longer = false;
    double cpu = 0;
    const auto keystroke = [&] {
        longer = !longer;
        const auto start = Clock::now();
        const double cpuStart = threadSeconds();
        engine.txtFil().userEdit(longer ? QStringLiteral("new namex") : QStringLiteral("new name"));
        cpu = threadSeconds() - cpuStart;
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double plain = 0;
    double marked = 0;
    double plainCpu = 0;
    double markedCpu = 0;
    for (auto _ : state) {
        marking = false;
        plain += keystroke();
        plainCpu += cpu;
        marking = true;
        const double seconds = keystroke();
        markedCpu += cpu;
        marked += seconds;
        state.SetIterationTime(seconds);
    }
    const double n = double(state.iterations());
    state.counters["plain_ms"] = 1000 * plain / n;
    state.counters["marking_ms"] = 1000 * markingSeconds / n;
    state.counters["x_plain"] = marked / plain;
    state.counters["plain_cpu_ms"] = 1000 * plainCpu / n;
    state.counters["marked_cpu_ms"] = 1000 * markedCpu / n;
    state.counters["marking_cpu_ms"] = 1000 * markingCpu / n;
    state.counters["x_plain_cpu"] = markedCpu / plainCpu;
    state.counters["names"] = double(folder.count());
}

// One keystroke in txtW with a find text that occurs in every name.
void BM_KeystrokeTxtW(benchmark::State &state)
{
    BenchFolder folder(int(state.range(0)));
    RenameEngine engine(folder);
    engine.Form_Load();
    engine.txtDel().userEdit(QStringLiteral("1"));
    engine.txtW().userEdit(QStringLiteral("one"));
    bool longer = false;
    runKeystrokes(state, folder, [&] {
        longer = !longer;
        engine.txtW().userEdit(longer ? QStringLiteral("onex") : QStringLiteral("one"));
    });
    benchmark::DoNotOptimize(engine.List1().entries());
}

} // namespace

BENCHMARK(BM_Baseline)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeTxtFil)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeTxtFilMarking)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeTxtW)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
