#pragma once

#include <cstdint>

namespace lorvane {

// What a name led to: the file system object itself, not its name. Two
// looks at one name that give the same identity saw the same file, so a file
// that was replaced after it was listed is told apart from the listed one.
struct FileIdentity
{
    std::uint64_t device = 0; // 0: not known
    std::uint64_t inode = 0;  // 0: not known
    std::uint8_t type = 0;    // DT_* of the entry itself (links not followed); 0: not known

    [[nodiscard]] bool known() const { return type != 0; }
    // True when `actual` may be this file: every part known on both sides agrees.
    [[nodiscard]] bool admits(const FileIdentity &actual) const;

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identity of `name` in the folder open as `dirFd`, links not followed;
// 0 or the errno of the look.
[[nodiscard]] int identify(int dirFd, const char *name, FileIdentity &identity);
// True when the directory entries of the folder open as `dirFd` carry the
// same inode number that a look at the file gives (ext4, tmpfs, xfs, btrfs).
// Elsewhere (FUSE, overlays, FAT) the number in an entry may be made up.
[[nodiscard]] bool entriesCarryInodes(int dirFd);

// The identity of the file open as `fd`.
[[nodiscard]] int identifyOpen(int fd, FileIdentity &identity);

} // namespace lorvane
