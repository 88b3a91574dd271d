#include "FileTrash.h"

#include "Descriptor.h"
#include "FileNameCodec.h"

#include <QDateTime>
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <utility>

namespace lorvane {

namespace {

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return "/";
    return path.first(slash);
}

QByteArray baseNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray absoluteNative(const QString &path)
{
    const QString clean = QDir::cleanPath(
        QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path);
    return encodeFileName(clean);
}

QByteArray homeTrash()
{
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !dataHome.startsWith('/'))
        dataHome = qgetenv("HOME") + "/.local/share";
    return dataHome + "/Trash";
}

// The device of `path` or of its nearest existing ancestor.
dev_t deviceOf(QByteArray path)
{
    struct stat st = {};
    while (::stat(path.constData(), &st) != 0) {
        if (path == "/")
            return 0;
        path = parentOf(path);
    }
    return st.st_dev;
}

int makeDirs(const QByteArray &path)
{
    if (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST)
        return 0;
    if (errno != ENOENT)
        return errno;
    if (const int error = makeDirs(parentOf(path)))
        return error;
    if (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST)
        return 0;
    return errno;
}

// The mount point holding `path`: the last ancestor on the same device.
QByteArray topDirOf(const QByteArray &path, dev_t device)
{
    QByteArray top = parentOf(path);
    while (top != "/") {
        const QByteArray up = parentOf(top);
        struct stat st = {};
        if (::stat(up.constData(), &st) != 0 || st.st_dev != device)
            break;
        top = up;
    }
    return top;
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// FAT and exFAT keep no owner or mode per file: every file there already
// has the one owner and mode of the whole file system.
bool keepsNoPermissions(int fd)
{
    struct statfs fs = {};
    return ::fstatfs(fd, &fs) == 0 &&
           (fs.f_type == MSDOS_SUPER_MAGIC || fs.f_type == EXFAT_SUPER_MAGIC);
}

struct Opened
{
    Descriptor folder;
    QString refusal; // why the folder may not be used, when it is not open
};

// Opens the folder `name` below `parent`, creating it with mode 0700 when
// missing, and only if it is a real folder, not a link, of the person's own
// and closed to everyone else.
Opened openPrivateFolder(int parent, const QByteArray &name, const QByteArray &shown)
{
    const QString path = decodeFileName(shown);
    if (::mkdirat(parent, name.constData(), 0700) != 0 && errno != EEXIST)
        return {Descriptor(), ServiceResult::fromErrno(errno, path).reason()};
    Descriptor folder(
        ::openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.fd() < 0 && (errno == ELOOP || errno == ENOTDIR))
        return {Descriptor(), QStringLiteral("Not a real folder: ") + path};
    if (folder.fd() < 0)
        return {Descriptor(), ServiceResult::fromErrno(errno, path).reason()};
    struct stat st = {};
    if (::fstat(folder.fd(), &st) != 0)
        return {Descriptor(), ServiceResult::fromErrno(errno, path).reason()};
    if (st.st_uid != ::getuid())
        return {Descriptor(), QStringLiteral("Belongs to another user: ") + path};
    if ((st.st_mode & 0777) != 0700 && !keepsNoPermissions(folder.fd()))
        return {Descriptor(), QStringLiteral("Open to other users (mode %1): ")
                                      .arg(st.st_mode & 0777, 4, 8, QLatin1Char('0')) +
                                  path};
    return {std::move(folder), QString()};
}

struct TrashPlace
{
    Descriptor folder;
    QByteArray path;
    QByteArray topDir; // empty for the home trash, whose Path= is absolute
};

TrashPlace homeTrashPlace(int *error)
{
    const QByteArray home = homeTrash();
    *error = makeDirs(home);
    Descriptor folder(::open(home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!*error && folder.fd() < 0)
        *error = errno;
    return {std::move(folder), home, QByteArray()};
}

TrashPlace topDirTrashPlace(const QByteArray &top, QString *refusal)
{
    const Descriptor topFolder(::open(top.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (topFolder.fd() < 0) {
        *refusal = ServiceResult::fromErrno(errno, decodeFileName(top)).reason();
        return {};
    }
    const QByteArray uid = QByteArray::number(::getuid());
    // The shared trash counts only as a real folder with the sticky bit, so
    // that no one can take away or replace the person's folder in it.
    const Descriptor shared(
        ::openat(topFolder.fd(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st = {};
    if (shared.fd() >= 0 && ::fstat(shared.fd(), &st) == 0 && (st.st_mode & S_ISVTX)) {
        const QByteArray path = joined(top, ".Trash/" + uid);
        Opened mine = openPrivateFolder(shared.fd(), uid, path);
        if (mine.folder.fd() >= 0)
            return {std::move(mine.folder), path, top};
    }
    const QByteArray path = joined(top, ".Trash-" + uid);
    Opened own = openPrivateFolder(topFolder.fd(), ".Trash-" + uid, path);
    if (own.folder.fd() < 0) {
        *refusal = own.refusal;
        return {};
    }
    return {std::move(own.folder), path, top};
}

QByteArray infoRecord(const QByteArray &file, const QByteArray &topDir)
{
    QByteArray recorded = file;
    if (!topDir.isEmpty() && topDir != "/")
        recorded = file.mid(topDir.size() + 1);
    else if (!topDir.isEmpty())
        recorded = file.mid(1);
    const QByteArray date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
    return "[Trash Info]\nPath=" + recorded.toPercentEncoding("/") + "\nDeletionDate=" + date +
           "\n";
}

// The name of the n-th candidate in the trash: the file's own name, then
// "name 2", "name 3" and so on, each at most `limit` bytes. A longer name
// loses the end of its stem, cut between characters, and keeps a short
// extension, so that the trash still shows what kind of file it was.
QByteArray trashName(const QByteArray &base, int n, qsizetype limit)
{
    const QByteArray number = n == 1 ? QByteArray() : ' ' + QByteArray::number(n);
    if (base.size() + number.size() <= limit)
        return base + number;
    const qsizetype dot = base.lastIndexOf('.');
    const QByteArray extension = dot > 0 && base.size() - dot <= 16 ? base.mid(dot) : QByteArray();
    qsizetype keep = limit - number.size() - extension.size();
    while (keep > 0 && (quint8(base[keep]) & 0xC0) == 0x80)
        --keep;
    return base.first(keep) + extension + number;
}

Descriptor openSubfolder(int parent, const char *name, int *error)
{
    if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) {
        *error = errno;
        return Descriptor();
    }
    Descriptor folder(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.fd() < 0)
        *error = errno;
    return folder;
}

TrashResult moveInto(const QByteArray &file, const QString &path, TrashPlace place)
{
    int error = 0;
    const Descriptor files = openSubfolder(place.folder.fd(), "files", &error);
    const Descriptor info =
        files.fd() < 0 ? Descriptor() : openSubfolder(place.folder.fd(), "info", &error);
    if (error)
        return {ServiceResult::fromErrno(error, decodeFileName(place.path)), QString()};

    // The info record claims a name in the trash before the file takes it,
    // against other programs trashing a file of the same name at once.
    const QByteArray base = baseNameOf(file);
    const QByteArray record = infoRecord(file, place.topDir);
    const long nameMax = ::fpathconf(info.fd(), _PC_NAME_MAX);
    const qsizetype limit = (nameMax > 0 ? nameMax : 255) - qsizetype(sizeof ".trashinfo" - 1);
    for (int n = 1; n < 10000; ++n) {
        const QByteArray name = trashName(base, n, limit);
        const QByteArray infoName = name + ".trashinfo";
        Descriptor infoFile(::openat(info.fd(), infoName.constData(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (infoFile.fd() < 0) {
            if (errno == EEXIST)
                continue;
            return {ServiceResult::fromErrno(errno, path), QString()};
        }
        const bool written = infoFile.writeAll(record);
        const int writeError = errno;
        if (::close(infoFile.release()) != 0 || !written) {
            ::unlinkat(info.fd(), infoName.constData(), 0);
            return {ServiceResult::fromErrno(written ? errno : writeError, path), QString()};
        }
        int renameError = 0;
        if (::renameat2(AT_FDCWD, file.constData(), files.fd(), name.constData(),
                        RENAME_NOREPLACE) != 0)
            renameError = errno;
        // Some file systems refuse the flag; the info file already holds the
        // name, so a checked plain rename is safe there.
        if (renameError == EINVAL) {
            struct stat taken = {};
            if (::fstatat(files.fd(), name.constData(), &taken, AT_SYMLINK_NOFOLLOW) == 0)
                renameError = EEXIST;
            else if (::renameat(AT_FDCWD, file.constData(), files.fd(), name.constData()) == 0)
                renameError = 0;
            else
                renameError = errno;
        }
        if (renameError == 0)
            return {ServiceResult::success(), decodeFileName(joined(place.path, "files/" + name))};
        ::unlinkat(info.fd(), infoName.constData(), 0);
        if (renameError == EEXIST)
            continue;
        return {ServiceResult::fromErrno(renameError, path), QString()};
    }
    return {ServiceResult::fromErrno(EEXIST, path), QString()};
}

TrashResult refused(const QString &path, const QString &reason)
{
    return {ServiceResult::failure(QStringLiteral("No safe trash for ") + path +
                                   QStringLiteral(": ") + reason),
            QString()};
}

} // namespace

TrashResult moveFileToTrash(const QString &path)
{
    const QByteArray file = absoluteNative(path);
    struct stat st = {};
    if (::lstat(file.constData(), &st) != 0)
        return {ServiceResult::fromErrno(errno, path), QString()};
    if (deviceOf(homeTrash()) != st.st_dev)
        return moveFileToTrash(path, decodeFileName(topDirOf(file, st.st_dev)));
    int error = 0;
    TrashPlace place = homeTrashPlace(&error);
    if (error)
        return {ServiceResult::fromErrno(error, path), QString()};
    return moveInto(file, path, std::move(place));
}

TrashResult moveFileToTrash(const QString &path, const QString &topDir)
{
    const QByteArray file = absoluteNative(path);
    struct stat st = {};
    if (::lstat(file.constData(), &st) != 0)
        return {ServiceResult::fromErrno(errno, path), QString()};
    QString refusal;
    TrashPlace place = topDirTrashPlace(absoluteNative(topDir), &refusal);
    if (place.folder.fd() < 0)
        return refused(path, refusal);
    return moveInto(file, path, std::move(place));
}

ServiceResult deleteFilePermanently(const QString &path)

{
    const QByteArray file = encodeFileName(path);
    struct stat st = {};
    if (::lstat(file.constData(), &st) != 0)
        return ServiceResult::fromErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        return ServiceResult::fromErrno(EISDIR, path);
    if (::unlink(file.constData()) != 0)
        return ServiceResult::fromErrno(errno, path);
    return ServiceResult::success();
}

} // namespace lorvane
