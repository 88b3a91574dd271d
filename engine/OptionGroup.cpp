#include "OptionGroup.h"

#include "OptionButton.h"

namespace lorvane {

OptionGroup::OptionGroup(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

void OptionGroup::setInitial(OptionButton &button)
{
    for (OptionButton *b : m_buttons)
        b->m_selected = (b == &button);
    m_selected = &button;
}

bool OptionGroup::switchTo(OptionButton &button)
{
    if (m_selected == &button)
        return false;
    OptionButton *previous = m_selected;
    m_selected = &button;
    if (previous)
        previous->setSelectedState(false);
    button.setSelectedState(true);
    emit selectionChanged(&button);
    return true;
}

} // namespace lorvane
