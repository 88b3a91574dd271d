#pragma once

#include "ServiceResult.h"

#include <QString>

// A folder's own icon, recorded for both kinds of desktop that may show the
// folder: desktop.ini (Windows machines reading a shared folder; its rows are
// written by the caller) and the folder's ".directory" file, whose
// "[Desktop Entry]" Icon= key KDE's file manager reads.
namespace lorvane {

// Copies the icon file `source` to `target`. Choosing an icon that already
// lies in the target folder is no error: source and target are then the same
// file and nothing is copied. An existing different file at `target` is left
// alone unless it holds the same bytes (running the operation again), and
// reported otherwise, so that no file of the user's is overwritten.
ServiceResult copyIconFile(const QString &source, const QString &target);

// Writes Icon=`iconPath` into the "[Desktop Entry]" section of
// `folder`/.directory, keeping everything else in that file.
ServiceResult writeDirectoryIcon(const QString &folder, const QString &iconPath);

// Marks `folder` so that Windows desktops show its desktop.ini icon: they do
// so only for a folder that carries the system (or read-only) attribute. The
// system bit is used, because read-only on a folder would take away the
// owner's right to create files in it.
ServiceResult markFolderCustomized(const QString &folder);

} // namespace lorvane
