// Start-up of the whole program: from starting the lorvane process until its
// main window has been painted for the first time (LORVANE_QUIT_WHEN_SHOWN
// makes it end right there), on a folder of 1,000 files. Runs on the display
// of the session when there is one (e.g. under xvfb-run), else offscreen.
#include "FailedRepetition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString g_program;
QString g_folder;
QProcessEnvironment g_environment;

void BM_StartupToFirstPaint(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(g_environment);
        process.setProgram(g_program);
        process.setArguments({g_folder});
        process.start();
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("lorvane did not start and end cleanly");
            break;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    g_program = QCoreApplication::applicationDirPath() + QStringLiteral("/../lorvane");
    if (!QFile::exists(g_program)) {
        std::fprintf(stderr, "no program at %s\n", qPrintable(g_program));
        return 1;
    }
    const QString root = QStringLiteral("/dev/shm/lorvane-startup-%1").arg(::getpid());
    g_folder = root + QStringLiteral("/folder");
    QDir().mkpath(g_folder);
    for (int i = 0; i < 1000; ++i) {
        const QByteArray path =
            QFile::encodeName(g_folder) + "/IMG_" + QByteArray::number(i) + ".JPG";
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    g_environment = QProcessEnvironment::systemEnvironment();
    g_environment.insert(QStringLiteral("LORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    g_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    if (!g_environment.contains(QStringLiteral("DISPLAY")) &&
        !g_environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
        g_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    benchmark::RegisterBenchmark("BM_StartupToFirstPaint",
                                 benchsupport::failingAfterFailure(BM_StartupToFirstPaint))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(10)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(root).removeRecursively();
    return 0;
}
