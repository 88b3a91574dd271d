#include "Form3.h"

#include "MessageBox.h"
#include "RenameJob.h"
#include "TextFit.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

namespace text {
const QString renaming = QStringLiteral("جاري اعادة تسمية لملفات المطلوبة");
const QString pleaseWait = QStringLiteral("انتظر من فضلك....");
const QString startPercent = QStringLiteral("0%");
} // namespace text

const QColor background(224, 224, 224);
const QColor orange(255, 128, 0);

constexpr int BarLeft = 840;
constexpr int BarTop = 840;
constexpr int BarWidth = 3000;
constexpr int BarHeight = 375;
constexpr int BarStartWidth = 15;

// value / total rounded to the nearest integer, ties to even.
qint64 roundedRatio(qint64 value, qint64 total)
{
    const qint64 quotient = value / total;
    const qint64 twiceRest = 2 * (value % total);
    if (twiceRest > total || (twiceRest == total && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

} // namespace

Form3::Form3(QWidget *mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(lorvane::programTitle());
    setLayoutDirection(Qt::RightToLeft);
    // A window of its own, kept above the main window twice over: as its
    // transient child, which is all a Wayland compositor honours, and by
    // staying on top, which keeps it above a topmost main window on X11.
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setModal(true);
    setFixedSize(twips::toPixels(4680), twips::toPixels(1470));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, background);
    grey.setColor(QPalette::WindowText, orange);
    setPalette(grey);
    setAutoFillBackground(true);

    Label1 = label(this, "Label1", text::renaming, twips::rect(960, 240, 2790, 195));
    QFont bold = Label1->font();
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    Label1->setFont(bold);
    textfit::growToText(Label1);

    Label2 = label(this, "Label2", text::pleaseWait, twips::rect(1560, 480, 1185, 195));
    QFont plain = Label2->font();
    plain.setPointSizeF(8.25);
    Label2->setFont(plain);
    textfit::growToText(Label2);

    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setAutoFillBackground(true);
    QPalette fill = Shape2->palette();
    fill.setColor(QPalette::Window, orange);
    Shape2->setPalette(fill);
    setBarTwips(BarStartWidth);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    QPalette outline = Shape1->palette();
    outline.setColor(QPalette::WindowText, Qt::black);
    Shape1->setPalette(outline);
    Shape1->setGeometry(twips::rect(BarLeft, BarTop, BarWidth, BarHeight));

    // " 100%" does not fit the design's 255 twips at 12 points; the label
    // keeps its place and grows to what it shows.
    Label3 = label(this, "Label3", text::startPercent, twips::rect(3960, 880, 255, 300));
    QFont large = Label3->font();
    large.setPointSize(12);
    Label3->setFont(large);
    Label3->adjustSize();
    QPalette black = Label3->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label3->setPalette(black);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips::rect(0, 1680, 615, 285));
    Text1->setVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(0);
    connect(Timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);
}

Form3::~Form3() = default;

void Form3::reject()
{
    if (!Timer1->isActive())
        QDialog::reject();
}

void Form3::closeEvent(QCloseEvent *event)
{
    if (Timer1->isActive()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Form3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Offscreen and on some window managers activation never arrives; the
    // window must still run.
    if (!m_activated)
        Form_Activate();
}

void Form3::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activated)
        Form_Activate();
}

void Form3::Form_Activate()
{
    m_activated = true;
    if (m_mainWindow) {
        // The main window ends at the top-left corner, above other windows,
        // and stays so after this window has gone. Its size stays as it is.
        if (!m_mainWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            const bool visible = m_mainWindow->isVisible();
            m_mainWindow->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            if (visible)
                m_mainWindow->show();
        }
        m_mainWindow->move(0, 0);
        raise();
        activateWindow();
    }
    TotalCount = Text1->text().trimmed().toLongLong();
    Timer1->setInterval(1);
    Timer1->start();
}

qint64 Form3::ticksDone() const
{
    if (!m_job)
        return TickCount + 1;
    if (m_job->isFinished())
        return TotalCount;
    const auto &batch = m_job->batch();
    if (batch.size() == 0)
        return 0;
    const auto share =
        static_cast<qint64>(batch.settledCount()) * TotalCount / static_cast<qint64>(batch.size());
    return std::min(share, TotalCount - 1);
}

void Form3::Timer1_Timer()
{
    if (TotalCount <= 0) {
        // Nothing to process: there is nothing to show either.
        Timer1->stop();
        accept();
        return;
    }
    TickCount = ticksDone();
    const qint64 percent = roundedRatio(TickCount * 100, TotalCount);
    Label3->setText(QLatin1Char(' ') + QString::number(percent) + QLatin1Char('%'));
    Label3->adjustSize();
    if (TickCount >= TotalCount) {
        TotalCount = 0;
        TickCount = 0;
        Timer1->stop();
        accept();
        return;
    }
    // The bar shows the share done; a fixed step per file rounds to nothing
    // beyond 6000 files and overshoots the frame for others.
    setBarTwips(BarStartWidth + static_cast<int>(roundedRatio(TickCount * BarWidth, TotalCount)));
}

void Form3::setBarTwips(int twips)
{
    m_barTwips = twips;
    Shape2->setGeometry(QRect(twips::toPixels(BarLeft), twips::toPixels(BarTop),
                              std::max(1, twips::toPixels(twips)), twips::toPixels(BarHeight)));
}
