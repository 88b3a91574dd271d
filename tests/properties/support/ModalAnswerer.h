#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>

class QTimer;

// Answers the message boxes that code under test opens, one answer per box
// in order, and records what each box said. It watches for the active modal
// widget, so the boxes run their real nested event loops.
class ModalAnswerer : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        Qt::LayoutDirection direction;
        QMessageBox::StandardButton onEnter; // the default button, NoButton if none
        Qt::TextFormat format;
    };

    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = {});
    ~ModalAnswerer() override;

    const QList<Seen> &seen() const { return m_seen; }
    // The boxes opened beyond the given answers were closed with Escape.
    int unexpected() const { return m_unexpected; }

private:
    void poll();

    QList<QMessageBox::StandardButton> m_answers;
    QList<Seen> m_seen;
    int m_unexpected = 0;
    QTimer *m_timer;
};
