#include "Form2.h"

#include "ClickableImage.h"
#include "DetachedLaunch.h"
#include "MessageBox.h"
#include "Twips.h"

#include "CmdButton.h"
#include "StoredButtons.h"

#include <QLabel>

static void initResources()
{
    Q_INIT_RESOURCE(lorvane);
}

#ifndef LORVANE_ABOUT_MAIL_A
#define LORVANE_ABOUT_MAIL_A "mailto:authors@lorvane.example"
#endif
#ifndef LORVANE_ABOUT_MAIL_B
#define LORVANE_ABOUT_MAIL_B "mailto:support@lorvane.example"
#endif
#ifndef LORVANE_ABOUT_WEB
#define LORVANE_ABOUT_WEB "https://lorvane.example/"
#endif

Form2::Form2(QWidget *parent) : QDialog(parent)
{
    initResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(lorvane::programTitle());
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(twips::size(8610, 5970));

    auto *background = new QLabel(this);
    background->setObjectName(QStringLiteral("picture"));
    background->setPixmap(QPixmap(QStringLiteral(":/lorvane/about.png")));
    background->setGeometry(0, 0, width(), height());

    imgMailA = new ClickableImage(QPixmap(QStringLiteral(":/lorvane/mail-a.png")), this);
    imgMailA->setObjectName(QStringLiteral("imgMailA"));
    imgMailA->setGeometry(twips::rect(7680, 4980, 600, 600));
    imgMailB = new ClickableImage(QPixmap(QStringLiteral(":/lorvane/mail-b.png")), this);
    imgMailB->setObjectName(QStringLiteral("imgMailB"));
    imgMailB->setGeometry(twips::rect(6960, 4980, 600, 600));
    imgWeb = new ClickableImage(QPixmap(QStringLiteral(":/lorvane/web.png")), this);
    imgWeb->setObjectName(QStringLiteral("imgWeb"));
    imgWeb->setGeometry(twips::rect(6240, 4980, 600, 600));
    imgMailA->setToolTip(mailATarget().mid(7));
    imgMailB->setToolTip(mailBTarget().mid(7));
    imgWeb->setToolTip(webTarget());

    const lorvane::StoredButtons stored =
        lorvane::StoredButtons::load(QStringLiteral(":/lorvane/Form2.buttons"));
    CmdButton1 = stored.create(QStringLiteral("CmdButton1"), this);
    CmdButton1->setGeometry(twips::rect(360, 5040, 1455, 465));

    connect(imgMailA, &ClickableImage::Click, this, &Form2::imgMailA_Click);
    connect(imgMailB, &ClickableImage::Click, this, &Form2::imgMailB_Click);
    connect(imgWeb, &ClickableImage::Click, this, &Form2::imgWeb_Click);
    connect(CmdButton1, &lorvane::CmdButton::Click, this, &Form2::CmdButton1_Click);
}

QString Form2::mailATarget()
{
    return QStringLiteral(LORVANE_ABOUT_MAIL_A);
}

QString Form2::mailBTarget()
{
    return QStringLiteral(LORVANE_ABOUT_MAIL_B);
}

QString Form2::webTarget()
{
    return QStringLiteral(LORVANE_ABOUT_WEB);
}

void Form2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void Form2::Form_Activate()
{
    // Above every other window, at the same place each time.
    move(109, 109);
}

void Form2::imgMailA_Click()
{
    openTarget(mailATarget());
}

void Form2::imgMailB_Click()
{
    openTarget(mailBTarget());
}

void Form2::imgWeb_Click()
{
    openTarget(webTarget());
}

void Form2::CmdButton1_Click()
{
    accept();
}

void Form2::openTarget(const QString &target)
{
    // A missing mail program or browser is not worth a message here: the
    // window simply stays open.
    lorvane::DetachedLaunch::start(QByteArrayLiteral("xdg-open"), {target.toUtf8()}, this);
}
