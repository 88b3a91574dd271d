#pragma once

#include "ServiceResult.h"

#include <QString>

class QImage;

namespace lorvane {

// Saves `image` as a Windows bitmap (24 bits per pixel, the form every
// program reads) at `path`, replacing the file whole, so that a failed save
// never leaves a truncated file behind.
ServiceResult saveBitmap(const QImage &image, const QString &path);

} // namespace lorvane
