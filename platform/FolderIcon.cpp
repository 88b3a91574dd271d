#include "FolderIcon.h"

#include "DosAttributes.h"
#include "FileNameCodec.h"
#include "PrivateProfile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace lorvane {

namespace {

bool sameContents(const QString &a, const QString &b)
{
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    if (fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    }
    return true;
}

} // namespace

ServiceResult copyIconFile(const QString &source, const QString &target)
{
    struct stat from = {};
    if (::stat(encodeFileName(source).constData(), &from) != 0)
        return ServiceResult::fromErrno(errno, source);
    struct stat to = {};
    if (::stat(encodeFileName(target).constData(), &to) == 0) {
        if (from.st_dev == to.st_dev && from.st_ino == to.st_ino)
            return ServiceResult::success();
        if (sameContents(source, target))
            return ServiceResult::success();
        return ServiceResult::fromErrno(EEXIST, target);
    }
    QFile in(source);
    if (!in.copy(target))
        return ServiceResult::failure(in.errorString() + QStringLiteral(": ") + target);
    return ServiceResult::success();
}

ServiceResult writeDirectoryIcon(const QString &folder, const QString &iconPath)
{
    return writePrivateProfileString(QStringLiteral("Desktop Entry"), QStringLiteral("Icon"),
                                     iconPath, QDir(folder).filePath(QStringLiteral(".directory")),
                                     LineEnding::Lf);
}

ServiceResult markFolderCustomized(const QString &folder)
{
    return addDosAttributes(folder, dos::System);
}

} // namespace lorvane
