#include "DetachedLaunch.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lorvane;

namespace {

int exitCodeOf(DetachedLaunch *launch)
{
    QSignalSpy spy(launch, &DetachedLaunch::finished);
    if (!spy.wait(10000))
        return -2;
    return spy.at(0).at(0).toInt();
}

void writeScript(const QString &path, const QByteArray &body)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(DetachedLaunch, ReportsTheProgramsExitCode)
{
    struct Row
    {
        QByteArray program;
        QList<QByteArray> args;
        int code;
    };
    const Row rows[] = {
        {"true", {}, 0},
        {"false", {}, 1},
        {"sh", {"-c", "exit 4"}, 4},
        {"lorvane-no-such-program", {}, 127},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.program.constData());
        auto *launch = DetachedLaunch::start(row.program, row.args);
        QSignalSpy failed(launch, &DetachedLaunch::failed);
        EXPECT_EQ(exitCodeOf(launch), row.code);
        EXPECT_EQ(failed.size(), row.code == 0 ? 0 : 1);
    }
}

TEST(DetachedLaunch, OpenerGetsTheExactPathAsOneArgument)
{
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QString out = bin.filePath("args");
    // A stand-in for the desktop's opener: records its arguments, one per line.
    writeScript(bin.filePath("xdg-open"), "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                              QFile::encodeName(out) + "'\n");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + oldPath);

    const QByteArray path = QByteArrayLiteral("/tmp/a folder/caf\xe9 $(x) ;'.txt");
    EXPECT_EQ(exitCodeOf(DetachedLaunch::openWithAssociatedProgram(path)), 0);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), path + '\n');

    writeScript(bin.filePath("xdg-open"), "exit 3\n");
    EXPECT_EQ(exitCodeOf(DetachedLaunch::openWithAssociatedProgram(path)), 3);
    qputenv("PATH", oldPath);
}
