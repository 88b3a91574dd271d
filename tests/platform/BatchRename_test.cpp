#include "BatchRename.h"
#include "KilledChild.h"
#include "TestFolder.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <map>
#include <set>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lorvane;

namespace {

using Folder = TestFolder;

struct Expected
{
    RenameStatus status;
    RenameError error = RenameError::None;
};

constexpr Expected Renamed{RenameStatus::Renamed};
constexpr Expected Unchanged{RenameStatus::Unchanged};
constexpr Expected failed(RenameError error)
{
    return {RenameStatus::Failed, error};
}

struct Scenario
{
    const char *what;
    Listing before; // name -> content, "<folder>" makes a folder
    std::vector<RenamePair> pairs;
    std::vector<Expected> outcomes;
    Listing after;
};

void checkOutcomes(const BatchRename &batch, const std::vector<Expected> &expected)
{
    ASSERT_EQ(batch.outcomes().size(), expected.size());
    std::vector<RenamePair> expectedRenamed;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message()
                     << "entry " << i << " " << batch.pairs()[i].from.toStdString() << " -> "
                     << batch.pairs()[i].to.toStdString());
        EXPECT_EQ(batch.outcomes()[i].status, expected[i].status);
        EXPECT_EQ(batch.outcomes()[i].error, expected[i].error);
        EXPECT_TRUE(batch.outcomes()[i].leftUnder.isEmpty());
        if (expected[i].status == RenameStatus::Renamed)
            expectedRenamed.push_back(batch.pairs()[i]);
    }
    EXPECT_EQ(batch.renamed(), expectedRenamed);
    EXPECT_EQ(batch.settledCount(), batch.size());
}

const QByteArray Long255(255, 'n');
const QByteArray Long256(256, 'n');

std::vector<Scenario> scenarios()
{
    return {
        {"plain rename", {{"a", "A"}}, {{"a", "b"}}, {Renamed}, {{"b", "A"}}},
        {"chain listed from its free end",
         {{"a", "A"}, {"b", "B"}},
         {{"b", "c"}, {"a", "b"}},
         {Renamed, Renamed},
         {{"b", "A"}, {"c", "B"}}},
        {"chain listed against its free end",
         {{"a", "A"}, {"b", "B"}, {"c", "C"}},
         {{"a", "b"}, {"b", "c"}, {"c", "d"}},
         {Renamed, Renamed, Renamed},
         {{"b", "A"}, {"c", "B"}, {"d", "C"}}},
        {"swap",
         {{"a", "A"}, {"b", "B"}},
         {{"a", "b"}, {"b", "a"}},
         {Renamed, Renamed},
         {{"a", "B"}, {"b", "A"}}},
        {"ring of three",
         {{"a", "A"}, {"b", "B"}, {"c", "C"}},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {Renamed, Renamed, Renamed},
         {{"a", "C"}, {"b", "A"}, {"c", "B"}}},
        {"ring of three the other way",
         {{"a", "A"}, {"b", "B"}, {"c", "C"}},
         {{"c", "b"}, {"b", "a"}, {"a", "c"}},
         {Renamed, Renamed, Renamed},
         {{"a", "B"}, {"b", "C"}, {"c", "A"}}},
        {"ring and chain together",
         {{"1", "one"}, {"2", "two"}, {"x", "X"}, {"y", "Y"}},
         {{"x", "y"}, {"1", "2"}, {"y", "z"}, {"2", "1"}},
         {Renamed, Renamed, Renamed, Renamed},
         {{"1", "two"}, {"2", "one"}, {"y", "X"}, {"z", "Y"}}},
        {"target held by an unlisted file",
         {{"a", "A"}, {"x", "X"}},
         {{"a", "x"}},
         {failed(RenameError::TargetExists)},
         {{"a", "A"}, {"x", "X"}}},
        {"target held by a hidden file",
         {{"a", "A"}, {".x", "hidden"}},
         {{"a", ".x"}},
         {failed(RenameError::TargetExists)},
         {{"a", "A"}, {".x", "hidden"}}},
        {"target held by a folder",
         {{"a", "A"}, {"d", "<folder>"}},
         {{"a", "d"}},
         {failed(RenameError::TargetExists)},
         {{"a", "A"}, {"d", "<folder>"}}},
        {"chain behind a taken name stays put",
         {{"a", "A"}, {"b", "B"}, {"x", "X"}},
         {{"a", "b"}, {"b", "x"}},
         {failed(RenameError::Blocked), failed(RenameError::TargetExists)},
         {{"a", "A"}, {"b", "B"}, {"x", "X"}}},
        {"target held by a file left unchanged",
         {{"a", "A"}, {"b", "B"}},
         {{"a", "b"}, {"b", "b"}},
         {failed(RenameError::TargetExists), Unchanged},
         {{"a", "A"}, {"b", "B"}}},
        {"two entries want one name",
         {{"a", "A"}, {"b", "B"}},
         {{"a", "x"}, {"b", "x"}},
         {Renamed, failed(RenameError::DuplicateTarget)},
         {{"x", "A"}, {"b", "B"}}},
        {"one file listed twice",
         {{"a", "A"}},
         {{"a", "x"}, {"a", "y"}},
         {Renamed, failed(RenameError::DuplicateSource)},
         {{"x", "A"}}},
        {"file gone since the listing",
         {{"b", "B"}},
         {{"a", "x"}, {"b", "y"}},
         {failed(RenameError::SourceMissing), Renamed},
         {{"y", "B"}}},
        {"ring member gone since the listing",
         {{"b", "B"}},
         {{"a", "b"}, {"b", "a"}},
         {failed(RenameError::SourceMissing), Renamed},
         {{"a", "B"}}},
        {"invalid new names",
         {{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}, {"f", "F"}, {"g", "G"}},
         {{"a", ""},
          {"b", "."},
          {"c", ".."},
          {"d", "sub/x"},
          {"e", QByteArray("x\0y", 3)},
          {"f", Long256},
          {"g", Long255}},
         {failed(RenameError::InvalidName), failed(RenameError::InvalidName),
          failed(RenameError::InvalidName), failed(RenameError::InvalidName),
          failed(RenameError::InvalidName), failed(RenameError::InvalidName), Renamed},
         {{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}, {"f", "F"}, {Long255, "G"}}},
        {"old name leading out of the folder",
         {{"a", "A"}},
         {{"../a", "b"}},
         {failed(RenameError::InvalidName)},
         {{"a", "A"}}},
        {"names that are not UTF-8",
         {{"caf\xe9", "latin"}, {"\xff", "ff"}},
         {{"caf\xe9", "caf\xc3\xa9"}, {"\xff", "caf\xe9"}},
         {Renamed, Renamed},
         {{"caf\xc3\xa9", "latin"}, {"caf\xe9", "ff"}}},
        {"letter case only",
         {{"Photo.JPG", "p"}},
         {{"Photo.JPG", "photo.jpg"}},
         {Renamed},
         {{"photo.jpg", "p"}}},
    };
}

TEST(BatchRename, CarriesOutEveryScenarioWithoutLosingAFile)
{
    for (const Scenario &scenario : scenarios()) {
        SCOPED_TRACE(scenario.what);
        Folder folder;
        folder.create(scenario.before);
        BatchRename batch(folder.path(), scenario.pairs);
        batch.runAll();
        checkOutcomes(batch, scenario.outcomes);
        EXPECT_EQ(folder.listing(), scenario.after);
    }
}

TEST(BatchRename, SlicesOfOneStepGiveTheSameResult)
{
    // A long ring, a long chain and a swap, run one step at a time.
    Folder folder;
    std::vector<RenamePair> pairs;
    Listing after;
    constexpr int Ring = 50;
    for (int i = 0; i < Ring; ++i) {
        const QByteArray name = "r" + QByteArray::number(i);
        folder.write(name, name);
        pairs.push_back({name, "r" + QByteArray::number((i + 1) % Ring)});
        after["r" + QByteArray::number((i + 1) % Ring)] = name;
        const QByteArray chain = "c" + QByteArray::number(i);
        folder.write(chain, chain);
        pairs.push_back({chain, "c" + QByteArray::number(i + 1)});
        after["c" + QByteArray::number(i + 1)] = chain;
    }
    BatchRename batch(folder.path(), pairs);
    std::size_t lastSettled = batch.settledCount();
    std::size_t slices = 0;
    while (!batch.finished()) {
        EXPECT_LE(batch.runSome(1), 1u);
        EXPECT_GE(batch.settledCount(), lastSettled);
        lastSettled = batch.settledCount();
        ++slices;
        ASSERT_LT(slices, 10 * pairs.size()) << "the batch does not come to an end";
    }
    // One rename per entry plus one parking for the ring.
    EXPECT_GE(slices, pairs.size() + 1);
    EXPECT_EQ(batch.failureCount(), 0u);
    EXPECT_EQ(batch.renamed().size(), pairs.size());
    EXPECT_EQ(folder.listing(), after);
}

TEST(BatchRename, NameTakenAfterTheListingIsNotReplaced)
{
    Folder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    BatchRename batch(folder.path(), {{"a", "b"}, {"b", "c"}});
    folder.write("c", "someone else's");
    batch.runAll();
    checkOutcomes(batch, {failed(RenameError::Blocked), failed(RenameError::TargetExists)});
    EXPECT_EQ(folder.listing(), (Listing{{"a", "A"}, {"b", "B"}, {"c", "someone else's"}}));
}

TEST(BatchRename, ReplacedFileIsNotRenamed)
{
    Folder folder;
    folder.create({{"a", "A"}, {"b", "B"}});
    const int dirFd = ::open(folder.path().constData(), O_PATH | O_DIRECTORY);
    FileIdentity a;
    FileIdentity b;
    ASSERT_EQ(identify(dirFd, "a", a), 0);
    ASSERT_EQ(identify(dirFd, "b", b), 0);
    ::close(dirFd);
    // After the listing, "a" became a folder and "b" another file.
    ASSERT_EQ(::unlink(folder.pathOf("a").constData()), 0);
    folder.makeFolder("a");
    ASSERT_EQ(::rename(folder.pathOf("b").constData(), folder.pathOf("old-b").constData()), 0);
    folder.write("b", "new B");
    BatchRename batch(folder.path(), {{"a", "x", a}, {"b", "y", b}});
    batch.runAll();
    checkOutcomes(batch, {failed(RenameError::Changed), failed(RenameError::Changed)});
    EXPECT_EQ(folder.listing(), (Listing{{"a", "<folder>"}, {"b", "new B"}, {"old-b", "B"}}));
}

TEST(BatchRename, MissingFolderFailsEveryEntry)
{
    BatchRename batch("/nonexistent-lorvane-folder", {{"a", "b"}, {"c", "c"}});
    batch.runAll();
    checkOutcomes(batch, {failed(RenameError::FolderUnavailable), Unchanged});
    EXPECT_EQ(batch.outcomes()[0].systemError, ENOENT);
}

// Makes a folder refuse every change for real, also for root: first a tmpfs
// mounted read-only, else the immutable attribute of ext4.
class Unwritable
{
public:
    explicit Unwritable(const Folder &folder) : m_path(folder.path() + "/locked")
    {
        ::mkdir(m_path.constData(), 0755);
        if (::mount("lorvane-test", m_path.constData(), "tmpfs", 0, "size=1m") == 0)
            m_mounted = true;
    }
    ~Unwritable()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
        if (m_immutable)
            setImmutable(false);
    }
    const QByteArray &path() const { return m_path; }
    bool mounted() const { return m_mounted; }

    // Turns the folder read-only; returns the failure expected from then on.
    RenameError lock()
    {
        if (m_mounted) {
            if (::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0)
                return RenameError::ReadOnlyFileSystem;
        }
        if (setImmutable(true)) {
            m_immutable = true;
            return RenameError::PermissionDenied;
        }
        return RenameError::None;
    }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    QByteArray m_path;
    bool m_mounted = false;
    bool m_immutable = false;
};

TEST(BatchRename, ReadOnlyFolderRefusesEveryRenameAndKeepsTheFiles)
{
    Folder folder;
    Unwritable locked(folder);
    const Listing before{{"a", "A"}, {"b", "B"}, {"c", "C"}};
    for (const auto &[name, content] : before) {
        QFile file(QFile::decodeName(locked.path() + '/' + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const RenameError expected = locked.lock();
    if (expected == RenameError::None)
        GTEST_SKIP() << "neither a read-only mount nor the immutable attribute is available";
    RecordProperty("means", locked.mounted() ? "read-only tmpfs" : "immutable attribute");

    BatchRename batch(locked.path(), {{"a", "x"}, {"b", "c"}, {"c", "b"}});
    batch.runAll();
    EXPECT_EQ(batch.failureCount(), 3u);
    for (const RenameOutcome &outcome : batch.outcomes()) {
        EXPECT_EQ(outcome.status, RenameStatus::Failed);
        EXPECT_EQ(outcome.error, expected);
        EXPECT_TRUE(outcome.leftUnder.isEmpty());
    }
    EXPECT_TRUE(batch.renamed().empty());
    EXPECT_EQ(Folder::listFolder(locked.path()), before);
}

// A file system that does not know RENAME_NOREPLACE, as NFS and some FUSE
// file systems; optionally one without hard links as well.
class NoReplaceRefused : public RenameSystem
{
public:
    explicit NoReplaceRefused(bool hardLinks) : m_hardLinks(hardLinks) {}
    int renameNoReplace(int, const char *, const char *) override
    {
        ++renameCalls;
        return EINVAL;
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        return m_hardLinks ? RenameSystem::link(dirFd, from, to) : EPERM;
    }
    int renameCalls = 0;

private:
    bool m_hardLinks;
};

TEST(BatchRename, FallsBackToLinkAndUnlinkWhereNoReplaceIsRefused)
{
    Folder folder;
    folder.create({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"x", "X"}, {"s", "S"}});
    NoReplaceRefused system(true);
    BatchRename batch(folder.path(), {{"s", "t"}, {"a", "b"}, {"b", "a"}, {"c", "x"}}, system);
    batch.runAll();
    checkOutcomes(batch, {Renamed, Renamed, Renamed, failed(RenameError::TargetExists)});
    EXPECT_EQ(folder.listing(),
              (Listing{{"a", "B"}, {"b", "A"}, {"c", "C"}, {"x", "X"}, {"t", "S"}}));
    // Once the refusal is known the batch goes straight to the fallback.
    EXPECT_EQ(system.renameCalls, 1);
}

TEST(BatchRename, WithoutNoReplaceAndHardLinksRenamesOntoPlaceholders)
{
    Folder folder;
    folder.create({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"x", "X"}, {"s", "S"}});
    NoReplaceRefused system(false);
    BatchRename batch(folder.path(), {{"s", "t"}, {"a", "b"}, {"b", "a"}, {"c", "x"}}, system);
    batch.runAll();
    checkOutcomes(batch, {Renamed, Renamed, Renamed, failed(RenameError::TargetExists)});
    // No placeholder is left behind, and the taken name keeps its file.
    EXPECT_EQ(folder.listing(),
              (Listing{{"a", "B"}, {"b", "A"}, {"c", "C"}, {"x", "X"}, {"t", "S"}}));
}

// A placeholder that someone replaces before the rename reaches it is theirs:
// the rename is refused and their file stays.
class PlaceholderTaken : public NoReplaceRefused
{
public:
    PlaceholderTaken() : NoReplaceRefused(false) {}
    int createExclusive(int dirFd, const char *name) override
    {
        const int fd = RenameSystem::createExclusive(dirFd, name);
        (void)::unlinkat(dirFd, name, 0);
        const int theirs = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL, 0644);
        (void)!::write(theirs, "theirs", 6);
        ::close(theirs);
        return fd;
    }
};

TEST(BatchRename, PlaceholderReplacedByAnotherFileIsNotRenamedOnto)
{
    Folder folder;
    folder.write("a", "A");
    PlaceholderTaken system;
    BatchRename batch(folder.path(), {{"a", "b"}}, system);
    batch.runAll();
    checkOutcomes(batch, {failed(RenameError::TargetExists)});
    EXPECT_EQ(folder.listing(), (Listing{{"a", "A"}, {"b", "theirs"}}));
}

// A folder that behaves like a file system that ignores letter case (vfat,
// case-folded ext4): every name is looked up without regard to case, a new
// name is taken when any spelling of it exists, and a rename keeps the
// spelling it is given.
class IgnoresCase : public RenameSystem
{
public:
    explicit IgnoresCase(QByteArray path) : m_path(std::move(path)) {}

    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        const QByteArray source = resolve(from);
        if (source.isEmpty())
            return ENOENT;
        if (!resolve(to).isEmpty())
            return EEXIST;
        return RenameSystem::renameNoReplace(dirFd, source.constData(), to);
    }
    int link(int, const char *, const char *) override { return EPERM; }
    int sameFile(int, const char *a, const char *b) override
    {
        const QByteArray x = resolve(a);
        return !x.isEmpty() && x == resolve(b) ? 1 : 0;
    }

private:
    QByteArray resolve(const char *name) const
    {
        for (const auto &entry : Folder::listFolder(m_path)) {
            if (entry.first.compare(QByteArray(name), Qt::CaseInsensitive) == 0)
                return entry.first;
        }
        return {};
    }
    QByteArray m_path;
};

TEST(BatchRename, CaseOnlyRenameSticksWhereTheFileSystemIgnoresCase)
{
    Folder folder;
    folder.create({{"Photo.JPG", "p"}, {"a", "A"}, {"b", "B"}});
    IgnoresCase system(folder.path());
    // "a" -> "B" meets "b" under another spelling and has to wait for it.
    BatchRename batch(folder.path(), {{"Photo.JPG", "photo.jpg"}, {"a", "B"}, {"b", "x"}}, system);
    batch.runAll();
    checkOutcomes(batch, {Renamed, Renamed, Renamed});
    EXPECT_EQ(folder.listing(), (Listing{{"photo.jpg", "p"}, {"B", "A"}, {"x", "B"}}));
}

// FAT or exFAT through FUSE: letter case ignored, no RENAME_NOREPLACE (the
// kernel still refuses a name that exists), no hard links, and every spelling
// of a name numbered as a file of its own.
class FuseFat : public IgnoresCase
{
public:
    explicit FuseFat(QByteArray path) : IgnoresCase(path), m_path(std::move(path)) {}
    int renameNoReplace(int, const char *, const char *to) override
    {
        return taken(to) ? EEXIST : EINVAL;
    }
    int sameFile(int, const char *, const char *) override { return 0; }
    int createExclusive(int dirFd, const char *name) override
    {
        return taken(name) ? -EEXIST : RenameSystem::createExclusive(dirFd, name);
    }

private:
    bool taken(const char *name) const
    {
        for (const auto &entry : Folder::listFolder(m_path)) {
            if (entry.first.compare(QByteArray(name), Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }
    QByteArray m_path;
};

TEST(BatchRename, CaseOnlyRenameOnFuseFatGivesTheTrueReason)
{
    Folder folder;
    folder.create({{"Photo.JPG", "p"}, {"a", "A"}, {"B", "other"}});
    FuseFat system(folder.path());
    BatchRename batch(folder.path(), {{"Photo.JPG", "photo.jpg"}, {"a", "b"}}, system);
    batch.runAll();
    checkOutcomes(batch, {Renamed, failed(RenameError::TargetExists)});
    EXPECT_EQ(folder.listing(), (Listing{{"photo.jpg", "p"}, {"a", "A"}, {"B", "other"}}));
}

TEST(BatchRename, CaseOnlyRenameOntoAnotherLinkOfTheFileKeepsBothNames)
{
    // On a file system that tells case apart, "A" and "a" can be two links of
    // one file; the detour through a temporary name must then come back.
    Folder folder;
    folder.write("A", "same");
    ASSERT_EQ(::link(folder.pathOf("A").constData(), folder.pathOf("a").constData()), 0);
    BatchRename batch(folder.path(), {{"A", "a"}});
    batch.runAll();
    checkOutcomes(batch, {failed(RenameError::TargetExists)});
    EXPECT_EQ(folder.listing(), (Listing{{"A", "same"}, {"a", "same"}}));
}

QByteArray numbered(char prefix, int i)
{
    return prefix + QByteArray::number(i).rightJustified(6, '0');
}

TEST(BatchRename, KillInTheMiddleLeavesEveryFileUnderOneOfItsNames)
{
    // Rings of three and chains of three, so that at any moment some files
    // are parked under temporary names.
    constexpr int Files = 30000;
    Folder folder(QStringLiteral("/dev/shm"));
    std::vector<RenamePair> pairs;
    std::map<QByteArray, std::pair<QByteArray, QByteArray>> namesOf; // content -> old, new
    for (int i = 0; i < Files; ++i) {
        const QByteArray old = numbered('f', i);
        const int group = i / 3 * 3;
        QByteArray wanted;
        if (i % 6 < 3)
            wanted = numbered('f', group + (i + 1) % 3);
        else
            wanted = i % 6 == 5 ? numbered('g', i) : numbered('f', i + 1);
        folder.write(old, "content of " + old);
        pairs.push_back({old, wanted});
        namesOf["content of " + old] = {old, wanted};
    }

    const pid_t child = testsupport::killOnceStarted([&](const std::function<void()> &started) {
        BatchRename batch(folder.path(), pairs);
        (void)batch.runSome(100);
        started();
        // Slices with pauses, as under the progress window, so that the kill
        // surely lands before the end even on a busy machine.
        while (!batch.finished()) {
            (void)batch.runSome(100);
            ::usleep(1000);
        }
    });
    ASSERT_GT(child, 0) << "the batch ended before the kill";

    const Listing after = folder.listing();
    EXPECT_EQ(after.size(), static_cast<std::size_t>(Files));
    int underOld = 0;
    int underNew = 0;
    int parked = 0;
    std::set<QByteArray> seen;
    for (const auto &[name, content] : after) {
        const auto it = namesOf.find(content);
        ASSERT_NE(it, namesOf.end()) << "unknown or damaged content under " << name.constData();
        EXPECT_TRUE(seen.insert(content).second) << "two names for " << content.constData();
        if (name == it->second.second)
            ++underNew;
        else if (name == it->second.first)
            ++underOld;
        else if (name.startsWith("~lorvane-" + QByteArray::number(child) + '-'))
            ++parked;
        else
            ADD_FAILURE() << content.constData() << " under a foreign name " << name.constData();
    }
    EXPECT_EQ(underOld + underNew + parked, Files);
    EXPECT_GT(underNew, 0);
    EXPECT_GT(underOld, 0) << "the kill came too late to test anything";
}

} // namespace
