#include "ShowFolder.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace lorvane {

ServiceResult showFolderInFileManager(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return ServiceResult::failure(QStringLiteral("No such folder: ") + folder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        return ServiceResult::failure(QStringLiteral("No file manager opened: ") + folder);
    return ServiceResult::success();
}

} // namespace lorvane
