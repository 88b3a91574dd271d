#include "TextBox.h"

namespace lorvane {

TextBox::TextBox(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

void TextBox::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
    if (m_onChange)
        m_onChange();
}

void TextBox::userEdit(const QString &text)
{
    if (!m_enabled) {
        emit textChanged(m_text);
        return;
    }
    const QString accepted = m_inputFilter ? m_inputFilter(text) : text;
    setText(accepted);
    if (accepted != text)
        emit textChanged(m_text);
}

bool TextBox::keyPress(const QString &typed)
{
    if (!m_enabled)
        return false;
    return m_onKeyPress ? m_onKeyPress(typed) : true;
}

void TextBox::click()
{
    if (m_onClick)
        m_onClick();
}

void TextBox::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(m_enabled);
}

} // namespace lorvane
