#include "PreviewList.h"

namespace lorvane {

PreviewList::PreviewList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("List1"));
}

} // namespace lorvane
