#include "ShowFolder.h"

#include "FileNameCodec.h"
#include "ShownName.h"

#include <QDesktopServices>
#include <QUrl>

#include <sys/stat.h>

namespace lorvane {

ServiceResult showFolderInFileManager(const QString &folder)
{
    // By the exact bytes: the tree enters folders whose names are not UTF-8,
    // and they must open as well.
    struct stat status = {};
    if (::stat(encodeFileName(folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return ServiceResult::failure(QStringLiteral("No such folder: ") + isolatedName(folder));
    if (!QDesktopServices::openUrl(localFileUrl(folder)))
        return ServiceResult::failure(QStringLiteral("No file manager opened: ") +
                                      isolatedName(folder));
    return ServiceResult::success();
}

} // namespace lorvane
