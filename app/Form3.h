#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QFrame;
class QTimer;
namespace lorvane {
class RenameJob;
}

// The progress window of a renaming. The main window writes the number of
// files to process into the hidden box Text1 and shows the window modally;
// on activation it makes the main window topmost at the top-left corner and
// starts Timer1. Each tick shows how far the attached rename job, which runs
// by itself, has got; the tick that sees the job done closes the window.
// Without a job each tick counts one file, as a plain animation.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    // `mainWindow` is the window's transient parent, placed on activation.
    explicit Form3(QWidget *mainWindow = nullptr);
    ~Form3() override;

    void setJob(lorvane::RenameJob *job) { m_job = job; }

    void Form_Activate();
    void Timer1_Timer();

    [[nodiscard]] qint64 tickCount() const { return TickCount; }
    [[nodiscard]] qint64 totalCount() const { return TotalCount; }
    // The bar's width in twips, as drawn.
    [[nodiscard]] int barTwips() const { return m_barTwips; }

    QLabel *Label1;
    QLabel *Label2;
    QFrame *Shape1;
    QFrame *Shape2;
    QLabel *Label3;
    QLineEdit *Text1;
    QTimer *Timer1;

    // The window goes when the work is done, not before: Escape and the
    // close box do nothing while the timer runs.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setBarTwips(int twips);
    [[nodiscard]] qint64 ticksDone() const;

    QWidget *m_mainWindow;
    lorvane::RenameJob *m_job = nullptr;
    // Counts are as wide as the folder list can be long.
    qint64 TickCount = 0;
    qint64 TotalCount = 0;
    int m_barTwips = 0;
    bool m_activated = false;
};
