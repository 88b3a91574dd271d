#include "FileTrash.h"

#include "FileNameCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
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
    QString make(const QByteArray &name, const QByteArray &contents)
    {
        const QByteArray native = encodeFileName(m_root.filePath("work")) + '/' + name;
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
