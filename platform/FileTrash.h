#pragma once

#include "ServiceResult.h"

#include <QString>

// Deleting a file, to the desktop's trash or for good. The trash is the
// freedesktop.org one, so that the desktop's trash can show and restore what
// was moved there: the home trash ($XDG_DATA_HOME/Trash) for files on the
// home's file system, otherwise the file system's own trash below its top
// folder. That one must be private to the person, as no one else may read,
// delete or replace what was trashed: $topdir/.Trash/$uid only when .Trash
// is a real folder (not a link) with the sticky bit and $uid in it a real
// folder of the person's with mode 0700; else $topdir/.Trash-$uid, only when
// it is a real folder of the person's with mode 0700 (created so when
// missing); else the file stays where it is and the reason is reported.
// Names that are not valid UTF-8 are handled byte for byte; a name too long
// to get its info record beside it is shortened in the trash, while the
// record keeps the full original path.
namespace lorvane {

struct [[nodiscard]] TrashResult
{
    ServiceResult result = ServiceResult::success();
    QString trashedPath; // where the file now lies, on success
};

TrashResult moveFileToTrash(const QString &path);

// Moves `path` into the trash of the file system whose top folder is
// `topDir`, as moveFileToTrash() does for a file away from the home's file
// system.
TrashResult moveFileToTrash(const QString &path, const QString &topDir);

// Removes the file itself; a folder is refused rather than removed.
ServiceResult deleteFilePermanently(const QString &path);

} // namespace lorvane
