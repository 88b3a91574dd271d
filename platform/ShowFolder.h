#pragma once

#include "ServiceResult.h"

#include <QString>

namespace lorvane {

// Opens `folder` in the desktop's file manager, through the desktop's own
// URL handling: no shell and no command line are involved.
ServiceResult showFolderInFileManager(const QString &folder);

} // namespace lorvane
