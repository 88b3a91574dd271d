#include "BatchRename.h"

#include "FileNameCodec.h"

#include <QString>

#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lorvane {

namespace {

constexpr qsizetype NameMax = 255;

// True when the two names differ in letter case only, as a file system that
// ignores case would compare them.
bool equalIgnoringCase(const QByteArray &a, const QByteArray &b)
{
    if (isAscii(a) && isAscii(b))
        return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
    return QString::compare(decodeFileName(a), decodeFileName(b), Qt::CaseInsensitive) == 0;
}

class KernelRenameSystem final : public RenameSystem
{};

// Open-addressing index from a name to the entry carrying it. Planning a
// batch of 100,000 entries with node-based hash maps cost a tenth of the time
// the renames themselves take; this flat table keeps it to a few per cent.
class NameIndex
{
public:
    using NameOf = const QByteArray &(*)(const RenamePair &);

    NameIndex(const std::vector<RenamePair> &pairs, NameOf nameOf)
        : m_pairs(pairs), m_nameOf(nameOf)
    {
        std::size_t capacity = 16;
        while (capacity < pairs.size() * 2)
            capacity *= 2;
        m_slots.assign(capacity, Empty);
        m_mask = capacity - 1;
    }

    // The entry already carrying `name`, or -1 after recording `entry` for it.
    std::int32_t insert(const QByteArray &name, std::uint32_t entry)
    {
        for (std::size_t slot = hashOf(name) & m_mask;; slot = (slot + 1) & m_mask) {
            if (m_slots[slot] == Empty) {
                m_slots[slot] = entry;
                return -1;
            }
            if (m_nameOf(m_pairs[m_slots[slot]]) == name)
                return static_cast<std::int32_t>(m_slots[slot]);
        }
    }

    [[nodiscard]] std::int32_t find(const QByteArray &name) const
    {
        for (std::size_t slot = hashOf(name) & m_mask;; slot = (slot + 1) & m_mask) {
            if (m_slots[slot] == Empty)
                return -1;
            if (m_nameOf(m_pairs[m_slots[slot]]) == name)
                return static_cast<std::int32_t>(m_slots[slot]);
        }
    }

private:
    static constexpr std::uint32_t Empty = UINT32_MAX;

    static std::size_t hashOf(const QByteArray &name)
    {
        return std::hash<std::string_view>{}(
            std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    }

    const std::vector<RenamePair> &m_pairs;
    NameOf m_nameOf;
    std::vector<std::uint32_t> m_slots;
    std::size_t m_mask = 0;
};

} // namespace

int RenameSystem::renameNoReplace(int dirFd, const char *from, const char *to)
{
    return ::renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int RenameSystem::link(int dirFd, const char *from, const char *to)
{
    return ::linkat(dirFd, from, dirFd, to, 0) == 0 ? 0 : errno;
}

int RenameSystem::unlink(int dirFd, const char *name)
{
    return ::unlinkat(dirFd, name, 0) == 0 ? 0 : errno;
}

int RenameSystem::sameFile(int dirFd, const char *a, const char *b)
{
    struct stat sa
    {};
    struct stat sb
    {};
    if (::fstatat(dirFd, a, &sa, AT_SYMLINK_NOFOLLOW) != 0)
        return -errno;
    if (::fstatat(dirFd, b, &sb, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : -errno;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino ? 1 : 0;
}

int RenameSystem::identify(int dirFd, const char *name, FileIdentity &identity)
{
    return lorvane::identify(dirFd, name, identity);
}

int RenameSystem::createExclusive(int dirFd, const char *name)
{
    const int fd =
        ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd >= 0 ? fd : -errno;
}

int RenameSystem::renameOver(int dirFd, const char *from, const char *to)
{
    return ::renameat(dirFd, from, dirFd, to) == 0 ? 0 : errno;
}

RenameSystem &RenameSystem::kernel()
{
    static KernelRenameSystem system;
    return system;
}

BatchRename::BatchRename(QByteArray folder, std::vector<RenamePair> pairs, RenameSystem &system)
    : m_folder(std::move(folder)), m_pairs(std::move(pairs)),
      m_temporaryPrefix("~lorvane-" + QByteArray::number(::getpid()) + '-'), m_system(system)
{
    plan();
}

BatchRename::~BatchRename()
{
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

bool BatchRename::isValidName(const QByteArray &name)
{
    if (name.isEmpty() || name.size() > NameMax || name == "." || name == "..")
        return false;
    return !name.contains('/') && !name.contains('\0');
}

void BatchRename::plan()
{
    const auto count = static_cast<std::uint32_t>(m_pairs.size());
    m_outcomes.resize(count);
    m_waitsFor.assign(count, -1);

    NameIndex bySource(m_pairs,
                       [](const RenamePair &pair) -> const QByteArray & { return pair.from; });
    NameIndex byTarget(m_pairs,
                       [](const RenamePair &pair) -> const QByteArray & { return pair.to; });
    std::vector<bool> moving(count, false);
    for (std::uint32_t e = 0; e < count; ++e) {
        const RenamePair &pair = m_pairs[e];
        if (pair.from == pair.to) {
            settle(e, RenameStatus::Unchanged);
            continue;
        }
        if (!isValidName(pair.from) || !isValidName(pair.to)) {
            settle(e, RenameStatus::Failed, RenameError::InvalidName);
            continue;
        }
        if (byTarget.find(pair.to) != -1) {
            settle(e, RenameStatus::Failed, RenameError::DuplicateTarget);
            continue;
        }
        if (bySource.insert(pair.from, e) != -1) {
            settle(e, RenameStatus::Failed, RenameError::DuplicateSource);
            continue;
        }
        (void)byTarget.insert(pair.to, e);
        moving[e] = true;
    }

    // Each entry wants at most one other entry's name and is wanted by at
    // most one, so the entries form simple chains and simple rings.
    std::vector<std::int32_t> waitedBy(count, -1);
    for (std::uint32_t e = 0; e < count; ++e) {
        if (!moving[e])
            continue;
        const std::int32_t holder = bySource.find(m_pairs[e].to);
        if (holder == -1)
            continue;
        m_waitsFor[e] = holder;
        waitedBy[holder] = static_cast<std::int32_t>(e);
    }

    m_ops.reserve(count + count / 8);
    std::vector<bool> planned(count, false);
    // A chain starts at the entry whose new name no member holds and works
    // back, so every rename finds its new name already vacated.
    for (std::uint32_t e = 0; e < count; ++e) {
        if (!moving[e] || m_waitsFor[e] != -1)
            continue;
        for (std::int32_t x = static_cast<std::int32_t>(e); x != -1; x = waitedBy[x]) {
            m_ops.push_back({OpKind::Move, static_cast<std::uint32_t>(x)});
            planned[x] = true;
        }
    }
    // What is left are rings: park one member, run the rest as a chain, then
    // give the parked one its new name.
    for (std::uint32_t e = 0; e < count; ++e) {
        if (!moving[e] || planned[e])
            continue;
        m_ops.push_back({OpKind::Park, e});
        planned[e] = true;
        for (std::int32_t x = waitedBy[e]; x != static_cast<std::int32_t>(e); x = waitedBy[x]) {
            m_ops.push_back({OpKind::Move, static_cast<std::uint32_t>(x)});
            planned[x] = true;
        }
        m_ops.push_back({OpKind::Unpark, e});
    }
}

bool BatchRename::openFolder()
{
    const QByteArray path = m_folder.isEmpty() ? QByteArray(".") : m_folder;
    m_dirFd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return m_dirFd >= 0;
}

std::size_t BatchRename::runSome(std::size_t maxSteps)
{
    if (m_finished)
        return 0;
    if (!m_opened) {
        m_opened = true;
        if (!openFolder()) {
            const int error = errno;
            for (std::uint32_t e = 0; e < m_outcomes.size(); ++e) {
                if (m_outcomes[e].status == RenameStatus::Pending)
                    settle(e, RenameStatus::Failed, RenameError::FolderUnavailable, error);
            }
            m_finished = true;
            return 0;
        }
        checkIdentities();
    }
    std::size_t steps = 0;
    while (steps < maxSteps) {
        if (m_next == m_ops.size()) {
            // Names that were taken may have been vacated by later steps; try
            // again as long as the disk keeps changing.
            if (m_deferred.empty() || !m_diskChanged) {
                finishRetries();
                m_finished = true;
                break;
            }
            m_diskChanged = false;
            m_ops.clear();
            m_next = 0;
            for (std::uint32_t e : m_deferred)
                m_ops.push_back({OpKind::Retry, e});
            m_deferred.clear();
            continue;
        }
        const Op op = m_ops[m_next++];
        if (m_outcomes[op.entry].status != RenameStatus::Pending)
            continue;
        execute(op);
        ++steps;
    }
    return steps;
}

void BatchRename::runAll()
{
    while (!m_finished)
        (void)runSome(4096);
}

void BatchRename::execute(const Op &op)
{
    switch (op.kind) {
    case OpKind::Move:
        if (stillThePlannedFile(op.entry))
            moveDirect(op.entry);
        return;
    case OpKind::Park:
        if (stillThePlannedFile(op.entry))
            park(op.entry);
        return;
    case OpKind::Unpark:
        unpark(op.entry);
        return;
    case OpKind::Retry:
        if (m_parked.contains(op.entry))
            unpark(op.entry);
        else if (stillThePlannedFile(op.entry))
            moveDirect(op.entry);
        return;
    }
}

// A name may have been given to another file since the plan was made (the
// listed file removed and a folder made in its place, say): that one is not
// the person's choice and stays as it is. One pass over the folder's entries
// looks at every file before the first rename; a look at each file just
// before its rename would cost half as much again as the renames on tmpfs.
// Where the entries do not carry inode numbers, that look is what is left.
void BatchRename::checkIdentities()
{
    const bool anyKnown = std::any_of(m_pairs.begin(), m_pairs.end(),
                                      [](const RenamePair &pair) { return pair.identity.known(); });
    if (!anyKnown)
        return;
    const int fd = ::openat(m_dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = fd >= 0 && entriesCarryInodes(fd) ? ::fdopendir(fd) : nullptr;
    struct stat folder;
    if (!dir || ::fstat(fd, &folder) != 0) {
        if (fd >= 0 && !dir)
            ::close(fd);
        if (dir)
            ::closedir(dir);
        m_checkEachFile = true;
        return;
    }
    NameIndex bySource(m_pairs,
                       [](const RenamePair &pair) -> const QByteArray & { return pair.from; });
    for (std::uint32_t e = 0; e < m_pairs.size(); ++e) {
        if (m_outcomes[e].status == RenameStatus::Pending)
            (void)bySource.insert(m_pairs[e].from, e);
    }
    while (const dirent *entry = ::readdir(dir)) {
        const std::int32_t e = bySource.find(
            QByteArray::fromRawData(entry->d_name, qsizetype(std::strlen(entry->d_name))));
        if (e < 0 || !m_pairs[e].identity.known())
            continue;
        FileIdentity actual{folder.st_dev, entry->d_ino, entry->d_type};
        if (entry->d_type == DT_UNKNOWN && identify(m_dirFd, entry->d_name, actual) != 0)
            continue;
        if (!m_pairs[e].identity.admits(actual))
            settle(std::uint32_t(e), RenameStatus::Failed, RenameError::Changed);
    }
    ::closedir(dir);
}

// Where the folder's entries cannot tell, the file itself is looked at.
bool BatchRename::stillThePlannedFile(std::uint32_t entry)
{
    const RenamePair &pair = m_pairs[entry];
    if (!m_checkEachFile || !pair.identity.known())
        return true;
    FileIdentity actual;
    const int error = m_system.identify(m_dirFd, pair.from.constData(), actual);
    if (error != 0) {
        fail(entry, error);
        return false;
    }
    if (pair.identity.admits(actual))
        return true;
    settle(entry, RenameStatus::Failed, RenameError::Changed);
    return false;
}

void BatchRename::moveDirect(std::uint32_t entry)
{
    if (nameIsTakenCaseOnly(entry)) {
        moveThroughTemporary(entry);
        return;
    }
    const RenamePair &pair = m_pairs[entry];
    const int error = safeRename(pair.from, pair.to);
    if (error == 0) {
        m_diskChanged = true;
        settle(entry, RenameStatus::Renamed);
        return;
    }
    if (error == EEXIST && equalIgnoringCase(pair.from, pair.to)) {
        // A file system that ignores case may not tell that both spellings
        // lead to this very file (FUSE numbers its files per spelling); the
        // detour finds out whether another file really holds the name.
        moveThroughTemporary(entry);
        return;
    }
    if (error == EEXIST || error == ENOTEMPTY) {
        defer(entry);
        return;
    }
    fail(entry, error);
}

// Where the file system ignores letter case, the new name already leads to
// the file itself: a direct rename would either be refused as taken or
// succeed without changing anything. Going through a temporary name makes the
// new spelling stick.
void BatchRename::moveThroughTemporary(std::uint32_t entry)
{
    park(entry);
    if (m_parked.contains(entry))
        unpark(entry);
}

bool BatchRename::nameIsTakenCaseOnly(std::uint32_t entry)
{
    const RenamePair &pair = m_pairs[entry];
    if (!equalIgnoringCase(pair.from, pair.to))
        return false;
    return m_system.sameFile(m_dirFd, pair.from.constData(), pair.to.constData()) == 1;
}

void BatchRename::park(std::uint32_t entry)
{
    QByteArray temporary;
    const int error = parkUnder(m_pairs[entry].from, temporary);
    if (error != 0) {
        fail(entry, error);
        return;
    }
    m_diskChanged = true;
    m_parked.insert(entry, temporary);
    m_parkings.emplace_back(entry, temporary);
}

int BatchRename::parkUnder(const QByteArray &from, QByteArray &temporary)
{
    // Someone else's file may carry a name of our pattern; never take it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = newTemporaryName();
        const int error = safeRename(from, temporary);
        if (error != EEXIST && error != ENOTEMPTY)
            return error;
    }
    return EEXIST;
}

void BatchRename::unpark(std::uint32_t entry)
{
    const QByteArray temporary = m_parked.value(entry);
    const RenamePair &pair = m_pairs[entry];
    const int error = safeRename(temporary, pair.to);
    if (error == 0) {
        m_diskChanged = true;
        m_parked.remove(entry);
        settle(entry, RenameStatus::Renamed);
        return;
    }
    if (error == EEXIST || error == ENOTEMPTY) {
        defer(entry);
        return;
    }
    // The new name cannot be had: give the file its old name back if it is
    // still free, else leave it where it is and say so.
    if (safeRename(temporary, pair.from) != 0)
        m_outcomes[entry].leftUnder = temporary;
    m_parked.remove(entry);
    fail(entry, error);
}

void BatchRename::finishRetries()
{
    for (std::uint32_t e : m_deferred) {
        const auto parked = m_parked.constFind(e);
        if (parked != m_parked.cend()) {
            if (safeRename(*parked, m_pairs[e].from) != 0)
                m_outcomes[e].leftUnder = *parked;
            m_parked.erase(parked);
        }
    }
    // A taken name counts as blocked when the file holding it is a member of
    // the batch that could not move on.
    std::vector<std::uint32_t> stuck = std::move(m_deferred);
    m_deferred.clear();
    for (std::uint32_t e : stuck)
        m_outcomes[e].status = RenameStatus::Failed;
    for (std::uint32_t e : stuck) {
        const std::int32_t holder = m_waitsFor[e];
        const bool blocked = holder >= 0 && m_outcomes[holder].status == RenameStatus::Failed;
        m_outcomes[e].status = RenameStatus::Pending;
        settle(e, RenameStatus::Failed, blocked ? RenameError::Blocked : RenameError::TargetExists,
               EEXIST);
    }
}

int BatchRename::safeRename(const QByteArray &from, const QByteArray &to)
{
    if (m_method == Method::NoReplaceFlag) {
        const int error = m_system.renameNoReplace(m_dirFd, from.constData(), to.constData());
        if (error != EINVAL && error != ENOSYS)
            return error;
        // The file system does not know RENAME_NOREPLACE (network and some
        // FUSE file systems).
        m_method = Method::LinkThenUnlink;
    }
    if (m_method == Method::LinkThenUnlink) {
        // A hard link is refused when the new name exists, so the file gains
        // its new name before it loses the old one.
        const int linkError = m_system.link(m_dirFd, from.constData(), to.constData());
        if (linkError == EPERM || linkError == EOPNOTSUPP || linkError == ENOSYS) {
            // No hard links either (FAT and exFAT through FUSE).
            m_method = Method::Placeholder;
        } else if (linkError != 0) {
            return linkError;
        } else {
            const int unlinkError = m_system.unlink(m_dirFd, from.constData());
            if (unlinkError != 0) {
                (void)m_system.unlink(m_dirFd, to.constData());
                return unlinkError;
            }
            return 0;
        }
    }
    return renameOntoPlaceholder(from, to);
}

// Taking the new name with O_EXCL is refused when the name exists, as the
// no-replace rename would be. The rename onto the placeholder then replaces
// only an empty file of our own: it is looked at again just before, and the
// descriptor held open meanwhile keeps its inode number from being given to
// a file that someone might put in its place.
int BatchRename::renameOntoPlaceholder(const QByteArray &from, const QByteArray &to)
{
    const int fd = m_system.createExclusive(m_dirFd, to.constData());
    if (fd < 0)
        return fd == -EPERM || fd == -EOPNOTSUPP ? EOPNOTSUPP : -fd;
    FileIdentity made;
    FileIdentity now;
    int error = identifyOpen(fd, made);
    if (error == 0)
        error = m_system.identify(m_dirFd, to.constData(), now);
    const bool ours = error == 0 && made == now;
    if (error == 0 && !ours)
        error = EEXIST;
    if (error == 0)
        error = m_system.renameOver(m_dirFd, from.constData(), to.constData());
    if (error != 0 && ours && m_system.identify(m_dirFd, to.constData(), now) == 0 && made == now)
        (void)m_system.unlink(m_dirFd, to.constData());
    ::close(fd);
    return error;
}

QByteArray BatchRename::newTemporaryName()
{
    return m_temporaryPrefix + QByteArray::number(++m_temporaryCounter);
}

void BatchRename::settle(std::uint32_t entry, RenameStatus status, RenameError error,
                         int systemError)
{
    RenameOutcome &outcome = m_outcomes[entry];
    outcome.status = status;
    outcome.error = error;
    outcome.systemError = systemError;
    ++m_settled;
}

void BatchRename::fail(std::uint32_t entry, int systemError)
{
    RenameError error = RenameError::Other;
    switch (systemError) {
    case ENOENT:
        error = RenameError::SourceMissing;
        break;
    case EEXIST:
    case ENOTEMPTY:
        error = RenameError::TargetExists;
        break;
    case EACCES:
    case EPERM:
        error = RenameError::PermissionDenied;
        break;
    case EROFS:
        error = RenameError::ReadOnlyFileSystem;
        break;
    case ENAMETOOLONG:
        error = RenameError::InvalidName;
        break;
    case EOPNOTSUPP:
        error = RenameError::NotSupported;
        break;
    default:
        break;
    }
    settle(entry, RenameStatus::Failed, error, systemError);
}

void BatchRename::defer(std::uint32_t entry)
{
    m_deferred.push_back(entry);
}

std::vector<RenamePair> BatchRename::renamed() const
{
    std::vector<RenamePair> done;
    for (std::size_t e = 0; e < m_pairs.size(); ++e) {
        if (m_outcomes[e].status == RenameStatus::Renamed)
            done.push_back(m_pairs[e]);
    }
    return done;
}

std::size_t BatchRename::failureCount() const
{
    std::size_t failures = 0;
    for (const RenameOutcome &outcome : m_outcomes) {
        if (outcome.status == RenameStatus::Failed)
            ++failures;
    }
    return failures;
}

} // namespace lorvane
