#pragma once

#include "ServiceResult.h"

#include <QString>

// A folder's own icon, recorded for both kinds of desktop that may show the
// folder: desktop.ini (Windows machines reading a shared folder; its rows are
// written by the caller) and the folder's ".directory" file, whose
// "[Desktop Entry]" Icon= key KDE's file manager reads. Every file is written
// into the open folder and never through a symbolic link (FolderHandle).
namespace lorvane {

class FolderHandle;

// Copies the icon file `source` into `folder` as `name`. Choosing an icon
// that already lies there is no error: source and target are then the same
// file and nothing is copied. An existing different file under `name` is
// left alone unless it holds the same bytes (running the operation again),
// and reported otherwise, so that no file of the user's is overwritten; a
// link under that name is refused.
ServiceResult copyIconFile(const QString &source, const FolderHandle &folder, const QString &name);

// Writes Icon=`iconPath` into the "[Desktop Entry]" section of the folder's
// .directory, keeping everything else in that file.
ServiceResult writeDirectoryIcon(const FolderHandle &folder, const QString &iconPath);

// Marks the file `name` of `folder` hidden and system, as Windows keeps
// desktop.ini and the icon beside it; a link under that name is refused.
ServiceResult markHiddenAndSystem(const FolderHandle &folder, const QString &name);

// Marks the folder so that Windows desktops show its desktop.ini icon: they
// do so only for a folder that carries the system (or read-only) attribute.
// The system bit is used, because read-only on a folder would take away the
// owner's right to create files in it.
ServiceResult markFolderCustomized(const FolderHandle &folder);

} // namespace lorvane
