#include "FolderHandle.h"

#include "DosAttributes.h"
#include "FileNameCodec.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

FolderHandle::FolderHandle(const QString &folder)
    : m_path(folder),
      m_folder(::open(encodeFileName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_folder.fd() < 0)
        m_status = ServiceResult::fromErrno(errno, folder);
}

QString FolderHandle::filePath(const QString &name) const
{
    return m_path.endsWith(QLatin1Char('/')) ? m_path + name : m_path + QLatin1Char('/') + name;
}

FolderHandle::Opened FolderHandle::openExisting(const QString &name) const
{
    const QString shown = filePath(name);
    // Non-blocking, so that a planted pipe cannot hold the program.
    const int file = ::openat(fd(), encodeFileName(name).constData(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0 && errno == ENOENT)
        return {};
    if (file < 0 && errno == ELOOP)
        return {ServiceResult::failure(QStringLiteral("Refused, a symbolic link: ") + shown)};
    if (file < 0)
        return {ServiceResult::fromErrno(errno, shown)};
    struct stat st = {};
    QString refusal;
    if (::fstat(file, &st) != 0)
        refusal = ServiceResult::fromErrno(errno, shown).reason();
    else if (!S_ISREG(st.st_mode))
        refusal = QStringLiteral("Refused, not a regular file: ") + shown;
    else if (st.st_nlink > 1)
        refusal = QStringLiteral("Refused, a file with other names (hard links): ") + shown;
    if (!refusal.isEmpty()) {
        ::close(file);
        return {ServiceResult::failure(refusal)};
    }
    return {ServiceResult::success(), file, st.st_mode};
}

ServiceResult FolderHandle::replaceFile(const QString &name, const QByteArray &data,
                                        std::optional<mode_t> mode,
                                        const QByteArray &dosAttrib) const
{
    const QString shown = filePath(name);
    const QByteArray native = encodeFileName(name);
    // The new file gets a name of its own that no one else has; O_EXCL never
    // follows a link.
    QByteArray temporary;
    Descriptor file;
    for (int attempt = 0; attempt < 100 && file.fd() < 0; ++attempt) {
        temporary = '.' + native.left(200) + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        file = Descriptor(::openat(fd(), temporary.constData(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode ? 0600 : 0666));
        if (file.fd() < 0 && errno != EEXIST)
            return ServiceResult::fromErrno(errno, shown);
    }
    if (file.fd() < 0)
        return ServiceResult::fromErrno(EEXIST, shown);

    ServiceResult result = ServiceResult::success();
    if (!file.writeAll(data) || (mode && ::fchmod(file.fd(), *mode & 07777) != 0))
        result = ServiceResult::fromErrno(errno, shown);
    if (result.ok() && !dosAttrib.isEmpty())
        result = writeRawDosAttrib(file.fd(), shown, dosAttrib);
    if (result.ok() && ::fsync(file.fd()) != 0)
        result = ServiceResult::fromErrno(errno, shown);
    if (::close(file.release()) != 0 && result.ok())
        result = ServiceResult::fromErrno(errno, shown);
    // Replacing the old file is the point here, so a plain rename it is.
    if (result.ok() && ::renameat(fd(), temporary.constData(), fd(), native.constData()) != 0)
        result = ServiceResult::fromErrno(errno, shown);
    if (!result.ok())
        ::unlinkat(fd(), temporary.constData(), 0);
    return result;
}

} // namespace lorvane
