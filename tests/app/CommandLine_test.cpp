#include "CommandLine.h"

#include "FileNameCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Action = CommandLine::Action;

struct Row
{
    const char *what;
    QList<QByteArray> arguments; // after the program's name
    Action action;
    // Run: the folder expected, relative to the working folder ("" = none
    // given). Fail, ShowHelp: a piece of the text.
    QByteArray expected;
    QLocale locale = QLocale(QLocale::English);
};

TEST(CommandLine, ReadsFoldersOptionsAndMistakes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray work = QFile::encodeName(dir.path());
    // A folder whose name is not UTF-8 and one that looks like an option.
    for (const QByteArray &name : {QByteArray("sub"), QByteArray("caf\xe9-\xff"), QByteArray("-x")})
        ASSERT_EQ(::mkdir((work + '/' + name).constData(), 0755), 0);
    QFile file(dir.filePath(QStringLiteral("file.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));

    const Row rows[] = {
        {"no folder", {}, Action::Run, ""},
        {"relative, cleaned", {"sub/../sub/"}, Action::Run, "sub"},
        {"exact bytes", {"caf\xe9-\xff"}, Action::Run, "caf\xe9-\xff"},
        {"absolute", {work + "/sub"}, Action::Run, "sub"},
        {"Qt's options pass", {"-platform", "offscreen", "-reverse", "sub"}, Action::Run, "sub"},
        {"dash name after --", {"--", "-x"}, Action::Run, "-x"},
        {"help wins", {"--help", "/nonexistent"}, Action::ShowHelp, "--version"},
        {"Arabic help",
         {"-h"},
         Action::ShowHelp,
         "الاستخدام: lorvane",
         QLocale(QLocale::Arabic, QLocale::Egypt)},
        {"version", {"-v"}, Action::ShowVersion, "lorvane "},
        {"unknown long option", {"--bogus", "sub"}, Action::Fail, "unknown option '--bogus'"},
        {"unknown short option", {"-x"}, Action::Fail, "unknown option '-x'"},
        {"Qt option without value", {"-style"}, Action::Fail, "'-style' needs a value"},
        {"a file", {"file.txt"}, Action::Fail, "'file.txt' is not a folder"},
        {"missing", {"nowhere"}, Action::Fail, "'nowhere' is not a folder"},
        {"empty", {""}, Action::Fail, "'' is not a folder"},
        {"two folders", {"sub", "sub"}, Action::Fail, "only one folder"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const CommandLine parsed =
            CommandLine::parse(QList<QByteArray>{"lorvane"} + row.arguments, work, row.locale);
        EXPECT_EQ(parsed.action(), row.action) << parsed.text().toStdString();
        EXPECT_EQ(parsed.exitStatus(), row.action == Action::Fail ? 2 : 0);
        if (row.action != Action::Run) {
            EXPECT_TRUE(parsed.text().contains(QString::fromUtf8(row.expected)))
                << parsed.text().toStdString();
            continue;
        }
        const QByteArray folder = row.expected.isEmpty() ? QByteArray() : work + '/' + row.expected;
        EXPECT_EQ(lorvane::encodeFileName(parsed.folder()), folder);
    }
}

TEST(CommandLine, RelativeFolderWithoutWorkingFolderFails)
{
    const CommandLine parsed = CommandLine::parse({"lorvane", "sub"}, {});
    EXPECT_EQ(parsed.action(), Action::Fail);
}

} // namespace
