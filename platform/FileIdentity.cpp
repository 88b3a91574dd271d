#include "FileIdentity.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace lorvane {

bool FileIdentity::admits(const FileIdentity &actual) const
{
    const auto agree = [](std::uint64_t a, std::uint64_t b) { return a == 0 || b == 0 || a == b; };
    return agree(type, actual.type) && agree(inode, actual.inode) && agree(device, actual.device);
}

bool entriesCarryInodes(int dirFd)
{
    struct statfs info;
    if (::fstatfs(dirFd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case TMPFS_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

int identify(int dirFd, const char *name, FileIdentity &identity)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    identity = {st.st_dev, st.st_ino, static_cast<std::uint8_t>(IFTODT(st.st_mode))};
    return 0;
}

int identifyOpen(int fd, FileIdentity &identity)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return errno;
    identity = {st.st_dev, st.st_ino, static_cast<std::uint8_t>(IFTODT(st.st_mode))};
    return 0;
}

} // namespace lorvane
