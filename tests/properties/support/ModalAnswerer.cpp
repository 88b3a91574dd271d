#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

ModalAnswerer::ModalAnswerer(QList<QMessageBox::StandardButton> answers)
    : m_answers(std::move(answers)), m_timer(new QTimer(this))
{
    m_timer->setInterval(5);
    connect(m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer->start();
}

ModalAnswerer::~ModalAnswerer() = default;

void ModalAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    m_seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                   box->layoutDirection(), box->standardButton(box->defaultButton()),
                   box->textFormat()});
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        box->reject();
        return;
    }
    QAbstractButton *button = box->button(m_answers.takeFirst());
    if (!button) {
        ++m_unexpected;
        box->reject();
        return;
    }
    button->click();
}
