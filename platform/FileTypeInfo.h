#pragma once

#include "ServiceResult.h"

#include <QImage>
#include <QString>

// What the desktop shows for a path: its icon at a given edge length and its
// type name, from the icon theme and the MIME database. Where the theme has
// no icon for the type, a plain page or folder of our own is drawn, so that a
// real file always has an icon. Needs a QGuiApplication.
namespace lorvane {

struct [[nodiscard]] FileTypeInfo
{
    ServiceResult result = ServiceResult::success();
    QImage largeIcon; // 32 x 32
    QImage smallIcon; // 16 x 16
    QString typeName;
};

// Fails only when `path` does not exist or cannot be examined.
FileTypeInfo fileTypeInfo(const QString &path);

// The built-in icon, `size` pixels square.
QImage builtInIcon(bool folder, int size);

} // namespace lorvane
