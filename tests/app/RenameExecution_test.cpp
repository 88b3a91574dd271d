#include "RenameExecution.h"

#include "BatchRename.h"
#include "FileNameCodec.h"
#include "RenameHost.h"
#include "RenameJob.h"
#include "ShownName.h"

#include "AppTestSupport.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fcntl.h>
#include <map>
#include <optional>
#include <unistd.h>

namespace {

// A main window made of plain data over a real folder: File1 is the folder's
// files in name order, List1 starts as a copy and the test edits it.
class FakeWindow : public RenameHost
{
public:
    explicit FakeWindow(QString folder) : m_folder(std::move(folder)) { relist(); }

    void relist()
    {
        names = QDir(m_folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        previews = names;
        excluded.assign(size_t(names.size()), false);
        listed.clear();
        const int dirFd = ::open(QFile::encodeName(m_folder).constData(), O_PATH | O_DIRECTORY);
        for (const QString &name : names)
            (void)lorvane::identify(dirFd, lorvane::encodeFileName(name).constData(), listed[name]);
        ::close(dirFd);
    }
    void showFolder(const QString &folder)
    {
        m_folder = folder;
        relist();
    }

    QByteArray folderBytes() const override { return QFile::encodeName(m_folder); }
    std::vector<QByteArray> fileBytes() const override
    {
        std::vector<QByteArray> bytes;
        for (const QString &name : names)
            bytes.push_back(lorvane::encodeFileName(name));
        return bytes;
    }
    std::vector<lorvane::FileIdentity> fileIdentities() const override
    {
        std::vector<lorvane::FileIdentity> identities;
        for (const QString &name : names)
            identities.push_back(listed.value(name));
        return identities;
    }
    std::vector<bool> excludedRows() const override { return excluded; }
    QStringList previewNames() const override { return previews; }

    // The engine's duplicate resolution, scripted: `resolved` set means the
    // previews held equal names and the engine numbered them to it.
    void resolveDuplicates() override
    {
        if (!resolved)
            return;
        log.push_back("resolve");
        previews = *resolved;
    }
    bool askYesNo(const QString &text, Icon icon) override
    {
        log.push_back("ask");
        questions.push_back({text, icon});
        const bool yes = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return yes;
    }
    void report(const QString &text, const QString &details) override
    {
        log.push_back("report");
        reports << text;
        reportDetails << details;
    }
    void setUndoEnabled(bool enabled) override { undoEnabled = enabled; }
    void showProgress(qint64 filesToProcess, lorvane::RenameJob &job) override
    {
        log.push_back("progress");
        progressFiles = filesToProcess;
        while (!job.isFinished())
            job.advance(std::chrono::microseconds(50));
    }
    void letEventsRun() override { log.push_back("events"); }
    void reload() override
    {
        log.push_back("reload");
        relist();
    }

    QStringList names;
    QStringList previews;
    std::optional<QStringList> resolved;
    std::vector<bool> excluded;
    // What each name led to when the folder was listed.
    QHash<QString, lorvane::FileIdentity> listed;
    std::deque<bool> answers;
    std::vector<std::pair<QString, Icon>> questions;
    std::vector<std::string> log;
    QStringList reports;
    QStringList reportDetails;
    bool undoEnabled = false;
    qint64 progressFiles = -1;

private:
    QString m_folder;
};

// One line of a report: both names isolated in their own direction.
QString entry(const QString &from, const QString &to, const QString &reason)
{
    return lorvane::isolatedName(from) + QStringLiteral(" إلى ") + lorvane::isolatedName(to) +
           QStringLiteral(": ") + reason;
}

QString pathIn(const TestFolder &folder, const QString &name)
{
    return folder.pathText() + QLatin1Char('/') + name;
}

TEST(RenameExecution, TenFilesThreeExcludedTwoUnchanged)
{
    TestFolder folder;
    for (int i = 0; i < 10; ++i)
        folder.write("f" + QByteArray::number(i) + ".txt", QByteArray::number(i));
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    for (int i = 0; i < 10; ++i)
        window.previews[i] = QStringLiteral("new%1.txt").arg(i);
    for (int i : {1, 4, 8})
        window.excluded[size_t(i)] = true;
    for (int i : {2, 6})
        window.previews[i] = window.names[i];

    execution.CmdDoNow_Click();

    EXPECT_EQ(window.log, (std::vector<std::string>{"ask", "progress", "events", "reload"}));
    EXPECT_EQ(window.questions.at(0).first,
              QStringLiteral("هل تريد بالتأكيد تغيير أسماء هذه الملفات"));
    EXPECT_EQ(window.questions.at(0).second, RenameHost::Icon::Information);
    EXPECT_EQ(window.progressFiles, 7);
    EXPECT_TRUE(window.undoEnabled);
    EXPECT_EQ(execution.UndoNames().folder(), folder.path());
    apptest::Renames renamed;
    for (int i : {0, 3, 5, 7, 9})
        renamed.emplace_back("new" + QByteArray::number(i) + ".txt",
                             "f" + QByteArray::number(i) + ".txt");
    EXPECT_EQ(apptest::recordedRenames(execution.UndoNames()), renamed);
    Listing expected;
    for (int i = 0; i < 10; ++i) {
        const bool kept = i == 1 || i == 4 || i == 8 || i == 2 || i == 6;
        expected[(kept ? "f" : "new") + QByteArray::number(i) + ".txt"] = QByteArray::number(i);
    }
    EXPECT_EQ(folder.listing(), expected);
    EXPECT_TRUE(window.reports.isEmpty());
}

TEST(RenameExecution, AnsweringNoRenamesNothingAndKeepsTheUndoRecord)
{
    TestFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    window.previews = {"x", "y"};
    execution.CmdDoNow_Click();
    ASSERT_EQ(execution.UndoNames().count(), 2);

    window.previews = {"p", "q"};
    window.answers = {false};
    window.log.clear();
    execution.CmdDoNow_Click();
    EXPECT_EQ(window.log, (std::vector<std::string>{"ask", "reload"}));
    EXPECT_TRUE(window.undoEnabled);
    EXPECT_EQ(apptest::recordedRenames(execution.UndoNames()),
              (apptest::Renames{{"x", "a"}, {"y", "b"}}));
    EXPECT_EQ(folder.listing(), (Listing{{"x", "A"}, {"y", "B"}}));
}

TEST(RenameExecution, EmptyFolderListDoesNothing)
{
    TestFolder folder;
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    execution.CmdDoNow_Click();
    EXPECT_TRUE(window.log.empty());
    EXPECT_FALSE(window.undoEnabled);
}

// The names renamed to are those the duplicate resolution leaves, whatever the
// answer is afterwards.
TEST(RenameExecution, DuplicatesAreResolvedBeforeTheQuestion)
{
    struct Row
    {
        const char *what;
        bool yes;
    };
    for (const Row row : {Row{"yes", true}, Row{"no", false}}) {
        SCOPED_TRACE(row.what);
        TestFolder folder;
        folder.write("a.txt", "A");
        folder.write("b.txt", "B");
        folder.write("c.txt", "C");
        FakeWindow window(folder.pathText());
        RenameExecution execution(window);
        window.previews = {"same.txt", "other.txt", "same.txt"};
        window.resolved = QStringList{"1same.txt", "2other.txt", "3same.txt"};
        window.excluded = {true, false, false};
        window.answers = {row.yes};
        execution.CmdDoNow_Click();
        ASSERT_GE(window.log.size(), 2u);
        EXPECT_EQ(window.log[0], "resolve");
        EXPECT_EQ(window.log[1], "ask");
        EXPECT_EQ(std::count(window.log.begin(), window.log.end(), "resolve"), 1);
        if (row.yes)
            EXPECT_EQ(folder.listing(),
                      (Listing{{"a.txt", "A"}, {"2other.txt", "B"}, {"3same.txt", "C"}}));
        else
            EXPECT_EQ(folder.listing(), (Listing{{"a.txt", "A"}, {"b.txt", "B"}, {"c.txt", "C"}}));
    }
}

TEST(RenameExecution, EveryFileExcludedShowsNoProgressAndRecordsNothing)
{
    TestFolder folder;
    folder.write("a", "A");
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    window.previews = {"x"};
    window.excluded = {true};
    execution.CmdDoNow_Click();
    EXPECT_EQ(window.log, (std::vector<std::string>{"ask", "events", "reload"}));
    EXPECT_TRUE(window.undoEnabled);
    EXPECT_EQ(execution.UndoNames().count(), 0);
    EXPECT_EQ(folder.listing(), (Listing{{"a", "A"}}));
}

TEST(RenameExecution, FailuresAreReportedOnceAndTheRestIsRenamed)
{
    TestFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    folder.write("c", "C");
    folder.write(".taken", "hidden");
    FakeWindow window(folder.pathText());
    window.names.removeAll(".taken");
    window.previews = window.names;
    window.excluded.assign(3, false);
    RenameExecution execution(window);
    window.previews = {".taken", "sub/dir", "d"};
    execution.CmdDoNow_Click();

    EXPECT_EQ(folder.listing(),
              (Listing{{"a", "A"}, {"b", "B"}, {"d", "C"}, {".taken", "hidden"}}));
    EXPECT_EQ(apptest::recordedRenames(execution.UndoNames()), (apptest::Renames{{"d", "c"}}));
    ASSERT_EQ(window.reports.size(), 1);
    const QString &report = window.reports[0];
    EXPECT_TRUE(report.startsWith(QStringLiteral("تعذرت إعادة تسمية هذه الملفات:")));
    EXPECT_TRUE(
        report.contains(entry("a", ".taken", QStringLiteral("يوجد ملف أو مجلد آخر بالاسم الجديد"))))
        << report.toStdString();
    EXPECT_TRUE(report.contains(entry("b", "sub/dir", QStringLiteral("الاسم الجديد غير صالح"))))
        << report.toStdString();
    EXPECT_FALSE(report.contains(lorvane::isolatedName("c") + QStringLiteral(" إلى")));
    // The report comes after the window shows the new state.
    EXPECT_EQ(window.log.back(), "report");
}

TEST(RenameExecution, UndoPutsBackChainsAndRingsEvenFromAnotherFolder)
{
    TestFolder folder;
    TestFolder elsewhere;
    elsewhere.write("other", "O");
    for (const char *name : {"1", "2", "3", "x", "y"})
        folder.write(name, name);
    const Listing before = folder.listing();
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    // Names in order 1 2 3 x y: a ring 1->2->3->1 and a chain x->y->z.
    window.previews = {"2", "3", "1", "y", "z"};
    execution.CmdDoNow_Click();
    EXPECT_EQ(folder.listing(),
              (Listing{{"1", "3"}, {"2", "1"}, {"3", "2"}, {"y", "x"}, {"z", "y"}}));
    EXPECT_EQ(execution.UndoNames().count(), 5);

    window.showFolder(elsewhere.pathText());
    window.log.clear();
    execution.cmdUnRename_Click();
    EXPECT_EQ(
        window.questions.back().first,
        QStringLiteral("هل تريد بالتأكيد استرجاع أسماء الملفات التى أعدت تسميتها في آخر مرة"));
    EXPECT_EQ(window.questions.back().second, RenameHost::Icon::Question);
    EXPECT_EQ(window.log, (std::vector<std::string>{"ask", "reload"}));
    EXPECT_FALSE(window.undoEnabled);
    EXPECT_EQ(folder.listing(), before);
    EXPECT_EQ(elsewhere.listing(), (Listing{{"other", "O"}}));
    // The record stays; only the disabled button keeps it from a second use.
    EXPECT_EQ(execution.UndoNames().count(), 5);
}

TEST(RenameExecution, UndoAnsweredNoChangesNothing)
{
    TestFolder folder;
    folder.write("a", "A");
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    window.previews = {"b"};
    execution.CmdDoNow_Click();
    window.answers = {false};
    window.log.clear();
    execution.cmdUnRename_Click();
    EXPECT_EQ(window.log, (std::vector<std::string>{"ask"}));
    EXPECT_TRUE(window.undoEnabled);
    EXPECT_EQ(folder.listing(), (Listing{{"b", "A"}}));
}

TEST(RenameExecution, UndoReportsWhatItCouldNotRestore)
{
    TestFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    window.previews = {"c", "d"};
    execution.CmdDoNow_Click();
    // Since then someone took "a" and removed "d".
    folder.write("a", "new A");
    ASSERT_TRUE(QFile::remove(pathIn(folder, "d")));
    execution.cmdUnRename_Click();
    EXPECT_EQ(folder.listing(), (Listing{{"a", "new A"}, {"c", "A"}}));
    ASSERT_EQ(window.reports.size(), 1);
    const QString &report = window.reports[0];
    EXPECT_TRUE(report.startsWith(QStringLiteral("تعذرت استعادة أسماء هذه الملفات:")));
    EXPECT_TRUE(
        report.contains(entry("c", "a", QStringLiteral("يوجد ملف أو مجلد آخر بالاسم الجديد"))));
    EXPECT_TRUE(report.contains(entry("d", "b", QStringLiteral("الملف لم يعد موجودا"))));
}

TEST(RenameExecution, ReportsNameTenFilesAndTheDetailsEveryFileOnOneLine)
{
    std::vector<lorvane::RenamePair> pairs;
    for (int i = 0; i < 45; ++i)
        pairs.push_back({"f" + QByteArray::number(i), ""});
    // A line break in a name must not make a line of its own.
    pairs.push_back({"two\nlines", ""});
    lorvane::RenameJob job(lorvane::RenameJob::Work::Rename, "/", pairs);
    job.runToEnd();
    const RenameExecution::Report report = RenameExecution::failureReport(job);
    const QStringList lines = report.text.split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[1], entry("f0", "", QStringLiteral("الاسم الجديد غير صالح")));
    EXPECT_EQ(lines.last(), QStringLiteral("وملفات أخرى عددها 36، والقائمة كلها في التفاصيل"));
    const QStringList details = report.details.split('\n');
    ASSERT_EQ(details.size(), 46);
    EXPECT_EQ(details[44], entry("f44", "", QStringLiteral("الاسم الجديد غير صالح")));
    EXPECT_EQ(details[45],
              entry(QStringLiteral("two\nlines"), "", QStringLiteral("الاسم الجديد غير صالح")));
}

TEST(RenameExecution, ReplacedFilesAreLeftAloneByTheRenamingAndTheUndo)
{
    TestFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    FakeWindow window(folder.pathText());
    RenameExecution execution(window);
    // Since the listing, "a" has become a folder.
    ASSERT_TRUE(QFile::remove(pathIn(folder, "a")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("a"));
    window.previews = {"x", "y"};
    execution.CmdDoNow_Click();
    EXPECT_EQ(folder.listing(), (Listing{{"a", "<folder>"}, {"y", "B"}}));
    ASSERT_EQ(window.reports.size(), 1);
    EXPECT_TRUE(
        window.reports[0].contains(entry("a", "x", QStringLiteral("الاسم القديم صار لملف"))))
        << window.reports[0].toStdString();

    // Since the renaming, "y" has been moved aside and another file took its name.
    ASSERT_TRUE(QFile::rename(pathIn(folder, "y"), pathIn(folder, "y.old")));
    folder.write("y", "someone else's");
    execution.cmdUnRename_Click();
    EXPECT_EQ(folder.listing(),
              (Listing{{"a", "<folder>"}, {"y", "someone else's"}, {"y.old", "B"}}));
    ASSERT_EQ(window.reports.size(), 2);
    EXPECT_TRUE(
        window.reports[1].contains(entry("y", "b", QStringLiteral("الاسم القديم صار لملف"))))
        << window.reports[1].toStdString();
}

TEST(RenameExecution, NamesThatAreNotUtf8KeepTheirBytes)
{
    // File1 shows such a byte as an escape; the rename must still find the
    // file by its bytes and keep the byte in the new name.
    const TestFolder dir;
    const QByteArray latin = QByteArrayLiteral("caf\xe9.txt");
    dir.write(latin, "");

    class OneFile : public FakeWindow
    {
    public:
        using FakeWindow::FakeWindow;
        std::vector<QByteArray> fileBytes() const override
        {
            return {QByteArrayLiteral("caf\xe9.txt")};
        }
    };
    OneFile window(dir.pathText());
    window.names = {lorvane::decodeFileName(latin)};
    window.excluded = {false};
    window.previews = {QStringLiteral("old-") + lorvane::decodeFileName(latin)};
    RenameExecution execution(window);
    execution.CmdDoNow_Click();
    EXPECT_EQ(execution.UndoNames().count(), 1);
    EXPECT_TRUE(window.reports.isEmpty());
    EXPECT_EQ(dir.listing(), (Listing{{"old-" + latin, ""}}));
}

} // namespace
