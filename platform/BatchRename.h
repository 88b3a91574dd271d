#pragma once

#include "FileIdentity.h"

#include <QByteArray>
#include <QHash>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lorvane {

// One requested rename inside the batch's folder: exact on-disk bytes of the
// current name and of the wanted name (no folder part), and the file that the
// current name led to when the rename was planned. The rename goes ahead only
// while `from` still leads to that file; parts of the identity that are not
// known are not checked.
struct RenamePair
{
    QByteArray from;
    QByteArray to;
    FileIdentity identity{};

    friend bool operator==(const RenamePair &, const RenamePair &) = default;
};

enum class RenameStatus : std::uint8_t {
    Pending,   // not settled yet
    Renamed,   // the file is now under its new name
    Unchanged, // old and new name are the same byte string; nothing to do
    Failed,    // the file was not renamed; see RenameError
};

enum class RenameError : std::uint8_t {
    None,
    InvalidName,        // empty, ".", "..", holds "/" or NUL, longer than 255 bytes
    DuplicateTarget,    // an earlier entry of the batch asks for the same new name
    DuplicateSource,    // an earlier entry of the batch already renames this file
    TargetExists,       // a file or folder outside the batch holds the new name
    Blocked,            // the new name is held by a batch member that could not move
    SourceMissing,      // the file is gone (removed or renamed by someone else)
    Changed,            // the old name now leads to another file or folder than the planned one
    PermissionDenied,   // the folder or file refuses the change
    ReadOnlyFileSystem, // the folder is on a read-only file system
    NotSupported,       // the file system offers no way to rename without replacing
    FolderUnavailable,  // the folder itself cannot be opened
    Other,              // any other system error; see RenameOutcome::systemError
};

struct RenameOutcome
{
    RenameStatus status = RenameStatus::Pending;
    RenameError error = RenameError::None;
    int systemError = 0; // errno of the failing call, 0 when none was involved
    // When a file that was parked under a temporary name could neither reach
    // its new name nor return to its old one, it stays under this name.
    QByteArray leftUnder;
};

// The system calls the batch is made of, each returning 0 or an errno value.
// The default forwards to the kernel; tests substitute file systems that this
// machine does not have (one that refuses RENAME_NOREPLACE, one without hard
// links, one that ignores letter case).
class RenameSystem
{
public:
    virtual ~RenameSystem() = default;
    // Renames without ever replacing: EEXIST when `to` exists. EINVAL or
    // ENOSYS when the file system does not know the no-replace flag.
    virtual int renameNoReplace(int dirFd, const char *from, const char *to);
    virtual int link(int dirFd, const char *from, const char *to);
    virtual int unlink(int dirFd, const char *name);
    // 1 when both names exist and lead to the same file, 0 when not, or -errno.
    virtual int sameFile(int dirFd, const char *a, const char *b);
    // What `name` leads to, links not followed.
    virtual int identify(int dirFd, const char *name, FileIdentity &identity);
    // Creates `name` as a new empty file, never opening an existing one
    // (EEXIST then); returns the open descriptor or -errno.
    virtual int createExclusive(int dirFd, const char *name);
    // A rename that replaces `to`. The batch calls it only onto a placeholder
    // of its own.
    virtual int renameOver(int dirFd, const char *from, const char *to);

    static RenameSystem &kernel();
};

// Renames many files of one folder without ever destroying one.
//
// A rename never replaces an existing entry (listed, hidden or a folder).
// Chains (a->b while b->c) run from their free end; rings (a<->b, longer
// cycles) park one member under a temporary name in the same folder first.
// Where the file system refuses RENAME_NOREPLACE the batch links the new name
// and then unlinks the old one; where it has no hard links either, it takes
// the new name with an exclusively created empty placeholder and renames onto
// that placeholder, after checking it is still its own. Never a plain
// replacing rename(2) onto anything else. At every moment each file has at
// least one name and no two files share one; a kill at any point leaves every
// file under its old name, its new name or a temporary name starting with
// temporaryPrefix() (under the link fallback, possibly under its old and new
// name both; under the placeholder fallback, an empty placeholder may be left
// under a new name).
//
// The batch runs in slices (runSome) so that a window can show progress
// between them; it never talks to the user. Every entry ends with an outcome,
// and renamed() lists exactly the renames that took place.
class BatchRename
{
public:
    // `folder` is the folder's path as bytes. Invalid and duplicate entries
    // are settled as failures at once; nothing touches the disk before the
    // first runSome().
    BatchRename(QByteArray folder, std::vector<RenamePair> pairs,
                RenameSystem &system = RenameSystem::kernel());
    ~BatchRename();
    BatchRename(const BatchRename &) = delete;
    BatchRename &operator=(const BatchRename &) = delete;

    // Carries out at most `maxSteps` file system steps; returns how many it
    // did. A step is one rename (or its link+unlink replacement).
    std::size_t runSome(std::size_t maxSteps);
    void runAll();
    [[nodiscard]] bool finished() const { return m_finished; }

    // Entries whose outcome is final, out of all entries: the progress.
    [[nodiscard]] std::size_t settledCount() const { return m_settled; }
    [[nodiscard]] std::size_t size() const { return m_pairs.size(); }

    [[nodiscard]] const QByteArray &folder() const { return m_folder; }
    // "~lorvane-<pid>-": every temporary name of the batch starts so.
    [[nodiscard]] const QByteArray &temporaryPrefix() const { return m_temporaryPrefix; }

    // The entries parked under a temporary name since the last call, with
    // that name, for a record kept outside.
    using Parking = std::pair<std::uint32_t, QByteArray>;
    [[nodiscard]] std::vector<Parking> takeParkings() { return std::exchange(m_parkings, {}); }
    [[nodiscard]] const std::vector<RenamePair> &pairs() const { return m_pairs; }
    [[nodiscard]] const std::vector<RenameOutcome> &outcomes() const { return m_outcomes; }
    // The renames that happened, in the order of the requested pairs.
    [[nodiscard]] std::vector<RenamePair> renamed() const;
    [[nodiscard]] std::size_t failureCount() const;

    // The checks applied to every new name before anything is attempted.
    [[nodiscard]] static bool isValidName(const QByteArray &name);

private:
    enum class OpKind : std::uint8_t { Move, Park, Unpark, Retry };
    struct Op
    {
        OpKind kind;
        std::uint32_t entry;
    };

    void plan();
    bool openFolder();
    void execute(const Op &op);
    void moveDirect(std::uint32_t entry);
    void moveThroughTemporary(std::uint32_t entry);
    void park(std::uint32_t entry);
    void unpark(std::uint32_t entry);
    void finishRetries();
    [[nodiscard]] bool nameIsTakenCaseOnly(std::uint32_t entry);
    void checkIdentities();
    [[nodiscard]] bool stillThePlannedFile(std::uint32_t entry);
    [[nodiscard]] int safeRename(const QByteArray &from, const QByteArray &to);
    [[nodiscard]] int renameOntoPlaceholder(const QByteArray &from, const QByteArray &to);
    [[nodiscard]] QByteArray newTemporaryName();
    int parkUnder(const QByteArray &from, QByteArray &temporary);
    void settle(std::uint32_t entry, RenameStatus status, RenameError error = RenameError::None,
                int systemError = 0);
    void fail(std::uint32_t entry, int systemError);
    void defer(std::uint32_t entry);

    QByteArray m_folder;
    std::vector<RenamePair> m_pairs;
    std::vector<RenameOutcome> m_outcomes;
    // For each entry, the entry whose current name it wants (-1: none). That
    // entry has to move away first.
    std::vector<std::int32_t> m_waitsFor;
    // Temporary name of each parked entry.
    QHash<std::uint32_t, QByteArray> m_parked;
    // Entries that met a taken name; tried again after every other step.
    std::vector<std::uint32_t> m_deferred;
    std::vector<Op> m_ops;
    std::size_t m_next = 0;
    std::size_t m_settled = 0;
    std::vector<Parking> m_parkings;
    QByteArray m_temporaryPrefix;
    std::uint32_t m_temporaryCounter = 0;
    RenameSystem &m_system;
    int m_dirFd = -1;
    bool m_opened = false;
    bool m_finished = false;
    // Set where the folder's entries cannot tell the identity of the files
    // in them: each file is then looked at just before its rename.
    bool m_checkEachFile = false;
    // How a rename that must not replace is done, found out on the first one
    // the file system refuses.
    enum class Method : std::uint8_t { NoReplaceFlag, LinkThenUnlink, Placeholder };
    Method m_method = Method::NoReplaceFlag;
    // Set by every successful step; retries only help after a change.
    bool m_diskChanged = false;
};

} // namespace lorvane
