#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

// Answers every message box with Yes as soon as it is shown, so that a
// benchmark can run the window's commands that ask first.
class SayYes : public QObject
{
public:
    SayYes()
    {
        connect(&m_timer, &QTimer::timeout, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                if (QAbstractButton *yes = box->button(QMessageBox::Yes))
                    yes->click();
                else
                    box->accept();
            }
        });
        m_timer.start(1);
    }

private:
    QTimer m_timer;
};
