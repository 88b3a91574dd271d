#include "MessageBox.h"

#include <QAbstractButton>

namespace lorvane {

QString programTitle()
{
    return QStringLiteral("Lorvane");
}

Message::Message(QString text, QMessageBox::Icon icon) : m_text(std::move(text)), m_icon(icon) {}

Message &Message::buttons(QMessageBox::StandardButtons buttons)
{
    m_buttons = buttons;
    return *this;
}

Message &Message::defaultButton(QMessageBox::StandardButton button)
{
    m_defaultButton = button;
    return *this;
}

Message &Message::details(QString details)
{
    m_details = std::move(details);
    return *this;
}

Message &Message::buttonText(QMessageBox::StandardButton button, QString text)
{
    m_buttonTexts.emplace_back(button, std::move(text));
    return *this;
}

QMessageBox::StandardButton Message::exec(QWidget *parent) const
{
    QMessageBox box(m_icon, programTitle(), m_text, m_buttons, parent);
    box.setLayoutDirection(Qt::RightToLeft);
    box.setTextFormat(Qt::PlainText);
    if (m_defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(m_defaultButton);
    if (!m_details.isEmpty())
        box.setDetailedText(m_details);
    for (const auto &[button, text] : m_buttonTexts) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(text);
    }
    return QMessageBox::StandardButton(box.exec());
}

} // namespace lorvane
