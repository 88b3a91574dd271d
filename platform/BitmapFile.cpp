#include "BitmapFile.h"

#include <QImage>
#include <QSaveFile>

namespace lorvane {

ServiceResult saveBitmap(const QImage &image, const QString &path)
{
    if (image.isNull())
        return ServiceResult::failure(QStringLiteral("No picture to save: ") + path);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return ServiceResult::failure(out.errorString() + QStringLiteral(": ") + path);
    if (!image.convertToFormat(QImage::Format_RGB888).save(&out, "BMP"))
        return ServiceResult::failure(QStringLiteral("Cannot write a bitmap: ") + path);
    if (!out.commit())
        return ServiceResult::failure(out.errorString() + QStringLiteral(": ") + path);
    return ServiceResult::success();
}

} // namespace lorvane
