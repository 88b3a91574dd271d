#include "ServiceResult.h"

#include <cstring>

namespace lorvane {

ServiceResult ServiceResult::fromErrno(int error, const QString &path)
{
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (!path.isEmpty())
        reason += QStringLiteral(": ") + path;
    if (reason.isEmpty())
        reason = QStringLiteral("error %1").arg(error);
    return failure(reason);
}

} // namespace lorvane
