#include "DirectoryListing.h"

#include "FileNameCodec.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lorvane;

namespace {

void touch(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ::close(fd);
}

QStringList names(const DirListing &listing)
{
    QStringList out;
    for (const DirEntry &e : listing.entries)
        out << e.name;
    return out;
}

class DirectoryListingTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QByteArray at(const QByteArray &name) const
    {
        return QFile::encodeName(m_dir.path()) + '/' + name;
    }
    QByteArray root() const { return QFile::encodeName(m_dir.path()); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DirectoryListingTest, ListsFilesAndLinksToFilesOnly)
{
    touch(at("plain.txt"));
    touch(at(".hidden"));
    ASSERT_EQ(::mkdir(at("sub").constData(), 0755), 0);
    ASSERT_EQ(::mkdir(at("sub.txt").constData(), 0755), 0);
    ASSERT_EQ(::symlink("plain.txt", at("link-to-file.txt").constData()), 0);
    ASSERT_EQ(::symlink("sub", at("link-to-folder").constData()), 0);
    ASSERT_EQ(::symlink("missing", at("dangling").constData()), 0);
    ASSERT_EQ(::mkfifo(at("fifo").constData(), 0644), 0);

    const DirListing files = listDirectory(root(), EntryKind::Files);
    ASSERT_TRUE(files.ok);
    EXPECT_EQ(names(files), (QStringList{"link-to-file.txt", "plain.txt"}));
    // Each entry knows the file it named: the link itself, not its target.
    for (const DirEntry &e : files.entries) {
        FileIdentity actual;
        ASSERT_EQ(identify(AT_FDCWD, at(e.bytes()).constData(), actual), 0);
        EXPECT_EQ(e.identity(files.device), actual) << e.name.toStdString();
    }
    EXPECT_EQ(files.entries[0].identity(files.device).type, DT_LNK);

    const DirListing folders = listDirectory(root(), EntryKind::Folders);
    ASSERT_TRUE(folders.ok);
    EXPECT_EQ(names(folders), (QStringList{"link-to-folder", "sub", "sub.txt"}));

    // Every name the folder holds besides the listed ones, filtered-out files too.
    const DirListing withOthers = listDirectory(
        root(), EntryKind::Files, NamePattern(QStringLiteral("*.txt")), Unlisted::Keep);
    QStringList unlisted = withOthers.unlisted;
    unlisted.sort();
    EXPECT_EQ(unlisted,
              (QStringList{".hidden", "dangling", "fifo", "link-to-folder", "sub", "sub.txt"}));
    EXPECT_TRUE(files.unlisted.isEmpty());
}

TEST_F(DirectoryListingTest, NamesThatAreNotUtf8KeepTheirExactBytes)
{
    const QByteArray latin1 = QByteArrayLiteral("caf\xe9.txt");
    const QByteArray arabic = QByteArrayLiteral("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9.jpg");
    touch(at(latin1));
    touch(at(arabic));

    const DirListing listing = listDirectory(root(), EntryKind::Files);
    ASSERT_TRUE(listing.ok);
    ASSERT_EQ(listing.entries.size(), 2u);
    for (const DirEntry &e : listing.entries) {
        EXPECT_EQ(::access(at(e.bytes()).constData(), F_OK), 0);
    }
    EXPECT_EQ(listing.entries[0].bytes(), latin1);
    EXPECT_TRUE(hasEscapedBytes(listing.entries[0].name));
    EXPECT_EQ(listing.entries[1].name, QString::fromUtf8(arabic));
}

TEST_F(DirectoryListingTest, MissingOrNonFolderPathFails)
{
    touch(at("file"));
    for (const QByteArray &path : {at("nope"), at("file"), QByteArray()}) {
        SCOPED_TRACE(path.constData());
        const DirListing listing = listDirectory(path, EntryKind::Files);
        EXPECT_FALSE(listing.ok);
        EXPECT_NE(listing.error, 0);
        EXPECT_FALSE(isDirectory(path));
    }
    EXPECT_TRUE(isDirectory(root()));
}

TEST_F(DirectoryListingTest, PatternFiltersTheListing)
{
    for (const char *n : {"a.JPG", "b.jpg", "c.png", "d", "e.jpeg", "f.tar.gz"})
        touch(at(n));
    struct Row
    {
        const char *pattern;
        QStringList expected;
    };
    const Row rows[] = {
        {"*.*", {"a.JPG", "b.jpg", "c.png", "d", "e.jpeg", "f.tar.gz"}},
        {"*.jpg", {"a.JPG", "b.jpg"}},
        {"*.JpG", {"a.JPG", "b.jpg"}},
        {"*.jp*", {"a.JPG", "b.jpg", "e.jpeg"}},
        {"*.gz", {"f.tar.gz"}},
        {"*.jpg;*.png", {"a.JPG", "b.jpg", "c.png"}},
        {"?.png", {"c.png"}},
        {"*.txt", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.pattern);
        const DirListing listing =
            listDirectory(root(), EntryKind::Files, NamePattern(QString::fromUtf8(row.pattern)));
        EXPECT_EQ(names(listing), row.expected);
    }
}

TEST(NamePattern, MatchesWithoutRegardToCase)
{
    struct Row
    {
        const char *pattern;
        const char *name;
        bool matches;
    };
    const Row rows[] = {
        {"*.*", "noext", true},        {"*", ".x", true},          {"*.txt", "A.TXT", true},
        {"*.txt", "a.txt.bak", false}, {"*.txt", "txt", false},    {"*.ÉTÉ", "photo.été", true},
        {"*.صور", "ملف.صور", true},    {"a*b*c", "AxxBxxC", true}, {"a*b*c", "AxxBxx", false},
        {"*.t?t", "a.TXT", true},      {"*.t?t", "a.tt", false},   {"", "anything", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.pattern) + " ~ " + row.name);
        EXPECT_EQ(NamePattern(QString::fromUtf8(row.pattern)).matches(QString::fromUtf8(row.name)),
                  row.matches);
    }
}

TEST(NaturalOrder, SortsAsPeopleDo)
{
    struct Row
    {
        const char *less;
        const char *more;
    };
    const Row rows[] = {
        {"file2", "file10"},
        {"file2.txt", "file10.txt"},
        {"a", "B"},
        {"b", "C10"},
        {"x9y", "x10a"},
        {"img007", "img8"},
        {"v1.2", "v1.10"},
        {"a", "ab"},
        {"99999999999999999999", "100000000000000000000"},
        // Equal but for case or leading zeros: still a strict, stable order.
        {"A", "a"},
        {"file1", "file01"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.less) + " < " + row.more);
        const QString a = QString::fromUtf8(row.less);
        const QString b = QString::fromUtf8(row.more);
        EXPECT_TRUE(naturalLess(a, b));
        EXPECT_FALSE(naturalLess(b, a));
        EXPECT_EQ(naturalCompare(a, a), 0);
    }
}

TEST_F(DirectoryListingTest, ListingComesInNaturalOrder)
{
    for (const char *n : {"file10", "file2", "File1", "file1b", "a"})
        touch(at(n));
    EXPECT_EQ(names(listDirectory(root(), EntryKind::Files)),
              (QStringList{"a", "File1", "file1b", "file2", "file10"}));
}

TEST_F(DirectoryListingTest, ListingOrderAgreesWithNaturalLessOnManyNames)
{
    // The listing sorts by precomputed keys; it must give exactly the order
    // that naturalLess gives, ties of case and leading zeros included.
    const char *const pieces[] = {
        "a",   "B", "b", "0", "00", "1", "01", "9", "10", "007",
        "x",   "X", "_", "-", " ",  ".", "é",  "É", "ص",  "123456789012345678901",
        "\xff"};
    std::mt19937 random(7);
    std::set<QByteArray> made;
    for (int i = 0; i < 400; ++i) {
        QByteArray name;
        const int parts = 1 + int(random() % 4);
        for (int p = 0; p < parts; ++p)
            name += pieces[random() % std::size(pieces)];
        if (name.startsWith('.') || !made.insert(name).second)
            continue;
        touch(at(name));
    }
    const DirListing listing = listDirectory(root(), EntryKind::Files);
    ASSERT_TRUE(listing.ok);
    ASSERT_EQ(listing.entries.size(), made.size());
    QStringList expected = names(listing);
    std::sort(expected.begin(), expected.end(), naturalLess);
    EXPECT_EQ(names(listing), expected);
}
