#include "FolderIcon.h"

#include "Descriptor.h"
#include "DosAttributes.h"
#include "FileNameCodec.h"
#include "FolderHandle.h"
#include "PrivateProfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

namespace {

bool sameContents(QFile &a, QFile &b)
{
    if (a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        if (a.read(1 << 16) != b.read(1 << 16))
            return false;
    }
    return true;
}

} // namespace

ServiceResult copyIconFile(const QString &source, const FolderHandle &folder, const QString &name)
{
    const QString target = folder.filePath(name);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return ServiceResult::failure(in.errorString() + QStringLiteral(": ") + source);
    struct stat from = {};
    if (::fstat(in.handle(), &from) != 0)
        return ServiceResult::fromErrno(errno, source);

    const FolderHandle::Opened existing = folder.openExisting(name);
    if (!existing.result.ok())
        return existing.result;
    if (existing.fd >= 0) {
        QFile old;
        if (!old.open(existing.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return ServiceResult::failure(old.errorString() + QStringLiteral(": ") + target);
        struct stat to = {};
        if (::fstat(existing.fd, &to) == 0 && from.st_dev == to.st_dev && from.st_ino == to.st_ino)
            return ServiceResult::success();
        if (sameContents(in, old))
            return ServiceResult::success();
        return ServiceResult::fromErrno(EEXIST, target);
    }

    // O_EXCL creates the copy itself, never following a link planted meanwhile.
    const QByteArray native = encodeFileName(name);
    const Descriptor out(
        ::openat(folder.fd(), native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.fd() < 0)
        return ServiceResult::fromErrno(errno, target);
    while (!in.atEnd()) {
        if (!out.writeAll(in.read(1 << 16))) {
            const int error = errno;
            ::unlinkat(folder.fd(), native.constData(), 0);
            return ServiceResult::fromErrno(error, target);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        ::unlinkat(folder.fd(), native.constData(), 0);
        return ServiceResult::failure(in.errorString() + QStringLiteral(": ") + source);
    }
    return ServiceResult::success();
}

ServiceResult writeDirectoryIcon(const FolderHandle &folder, const QString &iconPath)
{
    return writePrivateProfileString(QStringLiteral("Desktop Entry"), QStringLiteral("Icon"),
                                     iconPath, folder, QStringLiteral(".directory"),
                                     LineEnding::Lf);
}

ServiceResult markHiddenAndSystem(const FolderHandle &folder, const QString &name)
{
    const FolderHandle::Opened file = folder.openExisting(name);
    if (!file.result.ok())
        return file.result;
    if (file.fd < 0)
        return ServiceResult::fromErrno(ENOENT, folder.filePath(name));
    const Descriptor keep(file.fd);
    return writeDosAttributes(file.fd, folder.filePath(name), dos::Hidden | dos::System);
}

ServiceResult markFolderCustomized(const FolderHandle &folder)
{
    return addDosAttributes(folder.fd(), folder.path(), dos::System);
}

} // namespace lorvane
