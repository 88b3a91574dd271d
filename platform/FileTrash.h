#pragma once

#include "ServiceResult.h"

#include <QString>

// Deleting a file, to the desktop's trash or for good. The trash is the
// freedesktop.org one, so that the desktop's trash can show and restore what
// was moved there: the home trash ($XDG_DATA_HOME/Trash) for files on the
// home's file system, the file system's own $topdir/.Trash/$uid or
// $topdir/.Trash-$uid otherwise. Names that are not valid UTF-8 are handled
// byte for byte.
namespace lorvane {

struct [[nodiscard]] TrashResult
{
    ServiceResult result = ServiceResult::success();
    QString trashedPath; // where the file now lies, on success
};

TrashResult moveFileToTrash(const QString &path);

// Removes the file itself; a folder is refused rather than removed.
ServiceResult deleteFilePermanently(const QString &path);

} // namespace lorvane
