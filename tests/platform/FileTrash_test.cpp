#include "FileTrash.h"

#include "FileNameCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace lorvane;

namespace {

// Points the home and its trash into a temporary folder, so that the test
// neither touches the user's trash nor depends on where /tmp is mounted.
class FileTrashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_oldHome = qgetenv("HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(m_root.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root.filePath("data")));
        ASSERT_TRUE(QDir().mkpath(m_root.filePath("work")));
    }
    void TearDown() override
    {
        qputenv("HOME", m_oldHome);
        if (m_oldDataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldDataHome);
    }
    QString make(const QByteArray &name, const QByteArray &contents,
                 const QString &folder = QStringLiteral("work"))
    {
        const QByteArray native = encodeFileName(m_root.filePath(folder)) + '/' + name;
        FILE *f = std::fopen(native.constData(), "w");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(contents.constData(), 1, size_t(contents.size()), f);
            std::fclose(f);
        }
        return decodeFileName(native);
    }
    QByteArray read(const QByteArray &native)
    {
        QByteArray data;
        FILE *f = std::fopen(native.constData(), "r");
        if (!f)
            return "<missing>";
        char buf[4096];
        size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            data.append(buf, qsizetype(n));
        std::fclose(f);
        return data;
    }
    QByteArray trash() const { return encodeFileName(m_root.filePath("data/Trash")); }

    QTemporaryDir m_root;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
};

bool exists(const QByteArray &native)
{
    struct stat st = {};
    return ::lstat(native.constData(), &st) == 0;
}

} // namespace

TEST_F(FileTrashTest, FileLandsInTheTrashWithItsInfoRecord)
{
    const QString path = make("report 1.txt", "first");
    const TrashResult trashed = moveFileToTrash(path);
    ASSERT_TRUE(trashed.result.ok()) << trashed.result.reason().toStdString();
    EXPECT_FALSE(exists(encodeFileName(path)));
    EXPECT_EQ(read(trash() + "/files/report 1.txt"), "first");
    EXPECT_EQ(encodeFileName(trashed.trashedPath), trash() + "/files/report 1.txt");

    const QByteArray info = read(trash() + "/info/report 1.txt.trashinfo");
    ASSERT_TRUE(info.startsWith("[Trash Info]\nPath=")) << info.constData();
    const QByteArray recorded = info.mid(info.indexOf("Path=") + 5).split('\n').first();
    EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), encodeFileName(path));
    EXPECT_TRUE(recorded.contains("%20"));
    EXPECT_TRUE(info.contains("\nDeletionDate=")) << info.constData();
}

TEST_F(FileTrashTest, SameNameTwiceGetsASecondNameAndNonUtf8NamesKeepTheirBytes)
{
    ASSERT_TRUE(moveFileToTrash(make("a.txt", "one")).result.ok());
    ASSERT_TRUE(moveFileToTrash(make("a.txt", "two")).result.ok());
    EXPECT_EQ(read(trash() + "/files/a.txt"), "one");
    EXPECT_EQ(read(trash() + "/files/a.txt 2"), "two");
    EXPECT_TRUE(exists(trash() + "/info/a.txt 2.trashinfo"));

    const QString odd = make("caf\xe9", "latin");
    ASSERT_TRUE(moveFileToTrash(odd).result.ok());
    EXPECT_EQ(read(trash() + "/files/caf\xe9"), "latin");
    EXPECT_TRUE(read(trash() + "/info/caf\xe9.trashinfo").contains("caf%E9"));
    ::unlink((trash() + "/files/caf\xe9").constData());
    ::unlink((trash() + "/info/caf\xe9.trashinfo").constData());
}

TEST_F(FileTrashTest, MissingFileIsReportedAndLeavesNoInfoRecord)
{
    const TrashResult gone = moveFileToTrash(m_root.filePath("work/none.txt"));
    EXPECT_FALSE(gone.result.ok());
    EXPECT_FALSE(exists(trash() + "/info/none.txt.trashinfo"));
}

TEST_F(FileTrashTest, PermanentDeleteRemovesFilesOnlyAndReportsFailures)
{
    const QString path = make("b.txt", "x");
    ASSERT_TRUE(deleteFilePermanently(path).ok());
    EXPECT_FALSE(exists(encodeFileName(path)));
    EXPECT_FALSE(exists(trash() + "/files/b.txt"));

    const ServiceResult again = deleteFilePermanently(path);
    EXPECT_FALSE(again.ok());
    EXPECT_TRUE(again.reason().contains(path));

    const QString folder = m_root.filePath("work");
    EXPECT_FALSE(deleteFilePermanently(folder).ok());
    EXPECT_FALSE(deleteFilePermanently(folder + QLatin1Char('/')).ok());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// The trash of another file system lies below its top folder; here a
// temporary folder stands in for it. What others may have put there must
// never receive the person's file. Ownership is provoked with chown to a uid
// that is not the test's, so the rows hold when the tests run as root too.
TEST_F(FileTrashTest, TopFolderTrashIsUsedOnlyWhenPrivateToThePerson)
{
    const QByteArray top = encodeFileName(m_root.filePath("top"));
    const QByteArray uid = QByteArray::number(::getuid());
    const uid_t stranger = ::getuid() + 4242;
    const QByteArray shared = top + "/.Trash";
    const QByteArray sharedMine = shared + '/' + uid;
    const QByteArray own = top + "/.Trash-" + uid;
    auto folder = [](const QByteArray &path, mode_t mode) {
        ASSERT_EQ(::mkdir(path.constData(), 0700), 0) << path.constData();
        ASSERT_EQ(::chmod(path.constData(), mode), 0);
    };
    auto owner = [](const QByteArray &path, uid_t user) {
        ASSERT_EQ(::lchown(path.constData(), user, gid_t(-1)), 0) << path.constData();
    };
    struct Row
    {
        const char *what;
        std::function<void()> plant;
        QByteArray expected; // the trash used; empty: refused
    };
    const Row rows[] = {
        {"nothing there: .Trash-$uid is created", [] {}, own},
        {"sticky .Trash: $uid is created in it", [&] { folder(shared, 01777); }, sharedMine},
        {".Trash without the sticky bit", [&] { folder(shared, 0777); }, own},
        {".Trash a link to a sticky folder",
         [&] {
             folder(top + "/elsewhere", 01777);
             ASSERT_EQ(::symlink("elsewhere", shared.constData()), 0);
         },
         own},
        {".Trash/$uid of another user",
         [&] {
             folder(shared, 01777);
             folder(sharedMine, 0700);
             owner(sharedMine, stranger);
         },
         own},
        {".Trash/$uid open to others",
         [&] {
             folder(shared, 01777);
             folder(sharedMine, 0755);
         },
         own},
        {".Trash-$uid of another user",
         [&] {
             folder(own, 0700);
             owner(own, stranger);
         },
         {}},
        {".Trash-$uid open to others", [&] { folder(own, 0777); }, {}},
        {".Trash-$uid a link to a private folder",
         [&] {
             folder(top + "/mine", 0700);
             ASSERT_EQ(::symlink("mine", own.constData()), 0);
         },
         {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QDir(decodeFileName(top)).removeRecursively();
        ASSERT_EQ(::mkdir(top.constData(), 0755), 0);
        ASSERT_EQ(::mkdir(top + "/work", 0755), 0);
        row.plant();
        const QString path = make("kept.txt", "mine", "top/work");
        const TrashResult trashed = moveFileToTrash(path, decodeFileName(top));
        if (row.expected.isEmpty()) {
            EXPECT_FALSE(trashed.result.ok());
            EXPECT_EQ(read(encodeFileName(path)), "mine");
            EXPECT_TRUE(trashed.result.reason().contains(decodeFileName(own)))
                << trashed.result.reason().toStdString();
            continue;
        }
        ASSERT_TRUE(trashed.result.ok()) << trashed.result.reason().toStdString();
        EXPECT_EQ(encodeFileName(trashed.trashedPath), row.expected + "/files/kept.txt");
        EXPECT_EQ(read(row.expected + "/files/kept.txt"), "mine");
        // The record names the file relative to the top folder.
        EXPECT_TRUE(read(row.expected + "/info/kept.txt.trashinfo").contains("\nPath=work/"))
            << read(row.expected + "/info/kept.txt.trashinfo").constData();
        struct stat st = {};
        ASSERT_EQ(::lstat(row.expected.constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(st.st_uid, ::getuid());
    }
}

TEST_F(FileTrashTest, OverLongNameIsShortenedInTheTrashWhileItsRecordKeepsTheFullPath)
{
    // 250 bytes: two-byte letters and an extension; with ".trashinfo" the
    // record's name would pass the 255-byte limit of a name.
    QByteArray name;
    for (int i = 0; i < 123; ++i)
        name += "\xd8\xa8";
    name += ".jpg";
    ASSERT_EQ(name.size(), 250);
    for (const QByteArray contents : {"first", "second"}) {
        SCOPED_TRACE(contents.constData());
        const QString path = make(name, contents);
        const TrashResult trashed = moveFileToTrash(path);
        ASSERT_TRUE(trashed.result.ok()) << trashed.result.reason().toStdString();
        const QByteArray stored = encodeFileName(trashed.trashedPath);
        const QByteArray storedName = stored.mid(stored.lastIndexOf('/') + 1);
        EXPECT_LE(storedName.size() + 10, 255);
        EXPECT_TRUE(storedName.contains(".jpg"));
        // Cut between letters, so the trash shows a readable name.
        EXPECT_EQ(QString::fromUtf8(storedName).toUtf8(), storedName);
        EXPECT_EQ(read(stored), contents);
        const QByteArray info = read(trash() + "/info/" + storedName + ".trashinfo");
        const QByteArray recorded = info.mid(info.indexOf("Path=") + 5).split('\n').first();
        EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), encodeFileName(path));
    }
}
