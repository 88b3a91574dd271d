#pragma once

#include <QLabel>

// A picture that reacts to a left click, like an image control.
class ClickableImage : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableImage(const QPixmap &picture, QWidget *parent = nullptr);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
