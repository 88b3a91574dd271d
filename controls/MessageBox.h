#pragma once

#include <QMessageBox>
#include <QString>

#include <utility>
#include <vector>

// Every message box of the program is built here: plain text (a file name is
// never read as markup), right to left, titled with the program's name, with
// the buttons and icon the caller gives. Tests answer them by finding the
// active modal widget.
//
//     Message(text, QMessageBox::Question).buttons(Yes | No).defaultButton(No).exec(this)
namespace lorvane {

// The title of every window and message box of the program.
[[nodiscard]] QString programTitle();

class Message
{
public:
    explicit Message(QString text, QMessageBox::Icon icon = QMessageBox::NoIcon);

    Message &buttons(QMessageBox::StandardButtons buttons);
    // Without one, Qt chooses (the first accepting button).
    Message &defaultButton(QMessageBox::StandardButton button);
    // Shown on request in a scrollable plain-text area below the message:
    // for a report that lists more than fits on the screen.
    Message &details(QString details);
    // A caption of our own for one of the buttons, where Yes and No would not
    // say what the choice does.
    Message &buttonText(QMessageBox::StandardButton button, QString text);

    // Shows the message modally over `parent` and returns the button chosen.
    QMessageBox::StandardButton exec(QWidget *parent) const;

private:
    QString m_text;
    QMessageBox::Icon m_icon;
    QMessageBox::StandardButtons m_buttons = QMessageBox::Ok;
    QMessageBox::StandardButton m_defaultButton = QMessageBox::NoButton;
    QString m_details;
    std::vector<std::pair<QMessageBox::StandardButton, QString>> m_buttonTexts;
};

} // namespace lorvane
