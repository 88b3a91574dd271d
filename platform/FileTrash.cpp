#include "FileTrash.h"

#include "FileNameCodec.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

struct TrashPlace
{
    QByteArray dir;
    QByteArray topDir; // empty for the home trash, whose Path= is absolute
};

std::optional<TrashPlace> trashFor(const QByteArray &file, dev_t device, int *error)
{
    const QByteArray home = homeTrash();
    if (deviceOf(home) == device) {
        *error = makeDirs(home);
        if (*error)
            return std::nullopt;
        return TrashPlace{home, QByteArray()};
    }
    const QByteArray top = topDirOf(file, device);
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray shared = (top == "/" ? QByteArray() : top) + "/.Trash";
    struct stat st = {};
    // A shared trash counts only when it is a real, sticky folder.
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = shared + '/' + uid;
        if (makeDirs(mine) == 0)
            return TrashPlace{mine, top};
    }
    const QByteArray own = (top == "/" ? QByteArray() : top) + "/.Trash-" + uid;
    *error = makeDirs(own);
    if (*error)
        return std::nullopt;
    return TrashPlace{own, top};
}

QByteArray infoRecord(const QByteArray &file, const TrashPlace &place)
{
    QByteArray recorded = file;
    if (!place.topDir.isEmpty() && place.topDir != "/")
        recorded = file.mid(place.topDir.size() + 1);
    else if (!place.topDir.isEmpty())
        recorded = file.mid(1);
    const QByteArray date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
    return "[Trash Info]\nPath=" + recorded.toPercentEncoding("/") + "\nDeletionDate=" + date +
           "\n";
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

TrashResult moveFileToTrash(const QString &path)
{
    const QByteArray file = absoluteNative(path);
    struct stat st = {};
    if (::lstat(file.constData(), &st) != 0)
        return {ServiceResult::fromErrno(errno, path), QString()};

    int error = 0;
    const auto place = trashFor(file, st.st_dev, &error);
    if (!place)
        return {ServiceResult::fromErrno(error, path), QString()};
    const QByteArray files = place->dir + "/files";
    const QByteArray info = place->dir + "/info";
    if ((error = makeDirs(files)) || (error = makeDirs(info)))
        return {ServiceResult::fromErrno(error, path), QString()};

    // The info file is created first and exclusively: it claims the name in
    // the trash against other programs trashing a file of the same name.
    const QByteArray base = baseNameOf(file);
    const QByteArray record = infoRecord(file, *place);
    for (int n = 1; n < 10000; ++n) {
        const QByteArray name = n == 1 ? base : base + ' ' + QByteArray::number(n);
        const QByteArray infoPath = info + '/' + name + ".trashinfo";
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {ServiceResult::fromErrno(errno, path), QString()};
        }
        const bool written = writeAll(fd, record);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(infoPath.constData());
            return {ServiceResult::fromErrno(written ? errno : writeError, path), QString()};
        }
        const QByteArray target = files + '/' + name;
        int renameError = 0;
        if (::renameat2(AT_FDCWD, file.constData(), AT_FDCWD, target.constData(),
                        RENAME_NOREPLACE) != 0)
            renameError = errno;
        // Some file systems refuse the flag; the info file already holds the
        // name, so a checked plain rename is safe there.
        if (renameError == EINVAL) {
            struct stat taken = {};
            if (::lstat(target.constData(), &taken) == 0)
                renameError = EEXIST;
            else if (::rename(file.constData(), target.constData()) == 0)
                renameError = 0;
            else
                renameError = errno;
        }
        if (renameError == 0)
            return {ServiceResult::success(), decodeFileName(target)};
        ::unlink(infoPath.constData());
        if (renameError == EEXIST)
            continue;
        return {ServiceResult::fromErrno(renameError, path), QString()};
    }
    return {ServiceResult::fromErrno(EEXIST, path), QString()};
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
