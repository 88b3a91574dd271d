#include "OptionButton.h"

#include "OptionGroup.h"

namespace lorvane {

OptionButton::OptionButton(const QString &name, OptionGroup &group, QObject *parent)
    : QObject(parent), m_group(group)
{
    setObjectName(name);
    m_group.add(*this);
}

void OptionButton::select()
{
    if (!m_group.switchTo(*this))
        return;
    if (m_onClick)
        m_onClick();
}

void OptionButton::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(m_enabled);
}

void OptionButton::setSelectedState(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    emit selectedChanged(m_selected);
}

} // namespace lorvane
