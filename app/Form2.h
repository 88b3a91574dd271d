#pragma once

#include <QDialog>

class ClickableImage;
namespace lorvane {
class CmdButton;
}

// The About window: a picture with three clickable images that open the
// project's mail and web addresses, and one button that closes it. Shown
// modally by the main window's About button.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

    // The three link targets, fixed when the program is built.
    static QString mailATarget();
    static QString mailBTarget();
    static QString webTarget();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Activate();
    void imgMailA_Click();
    void imgMailB_Click();
    void imgWeb_Click();
    void CmdButton1_Click();
    void openTarget(const QString &target);

    ClickableImage *imgMailA;
    ClickableImage *imgMailB;
    ClickableImage *imgWeb;
    lorvane::CmdButton *CmdButton1;
};
