// Start-up hint and its setting, the exit question, the window placement and
// the About window.
#include "AppTestSupport.h"

#include "Form1.h"
#include "Form2.h"

#include "CmdButton.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

const QString hintText = QStringLiteral("مرحبا بك في برنامج Lorvane\n"
                                        "اذا كان شريط إبدأ يخفي جزء من البرنامج\n"
                                        "فقم بالضغط على أي مساحة فارغة ضغطتين\n"
                                        "و اذا أردت الغاء هذه الميزة اضغط على أي مساحة فارغة\n"
                                        "بالزر الأيمن\n"
                                        "\n"
                                        "هل تريد اظهار هذه الرسالة مع بدء كل تشغيل");

class Form1LifecycleTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    void makeForm()
    {
        m_form = std::make_unique<Form1>(m_folder.path());
        m_form->setEndProgram([this] { ++m_ended; });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    }

    // Runs `act`, answering the message box it opens with `answer`; the box's
    // text, or "" when none came.
    QString answering(int answer, const std::function<void()> &act)
    {
        QString text;
        auto answered = apptest::answerMessageBox(answer, &text);
        act();
        apptest::waitFor([&] { return *answered; }, 3000);
        return text;
    }

    apptest::PrivateSettings m_settings{QString()};
    QTemporaryDir m_folder;
    std::unique_ptr<Form1> m_form;
    int m_ended = 0;
};

} // namespace

TEST_F(Form1LifecycleTest, FirstRunShowsTheHintAndNoTurnsItOff)
{
    ASSERT_EQ(m_settings.quary(), "");
    QString title;
    QString text;
    auto answered = apptest::answerMessageBox(QMessageBox::No, &text, &title);
    makeForm();
    ASSERT_TRUE(apptest::waitFor([&] { return *answered; }));
    EXPECT_EQ(text, hintText);
    EXPECT_EQ(title, "Lorvane");
    EXPECT_EQ(m_settings.quary(), "N");

    // Never again: neither on a new start nor after the About window.
    m_form.reset();
    auto again = apptest::answerMessageBox(QMessageBox::Yes);
    makeForm();
    QTest::qWait(200);
    EXPECT_FALSE(*again);
    EXPECT_EQ(m_settings.quary(), "N");
}

TEST_F(Form1LifecycleTest, YesKeepsTheHintComingBackAfterTheAboutWindow)
{
    auto first = apptest::answerMessageBox(QMessageBox::Yes);
    makeForm();
    ASSERT_TRUE(apptest::waitFor([&] { return *first; }));
    EXPECT_EQ(m_settings.quary(), "Y");

    // The hint's own closing does not bring it back.
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    auto closeAbout = apptest::whenModal("Form2", [](QWidget *about) {
        auto *ok = about->findChild<lorvane::CmdButton *>("CmdButton1");
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QString text;
    auto hintAgain = apptest::answerMessageBox(QMessageBox::No, &text);
    QTest::mouseClick(m_form->cmdAbout, Qt::LeftButton);
    ASSERT_TRUE(*closeAbout);
    ASSERT_TRUE(apptest::waitFor([&] { return *hintAgain; }));
    EXPECT_EQ(text, hintText);
    EXPECT_EQ(m_settings.quary(), "N");
}

TEST_F(Form1LifecycleTest, ExitAsksFirstFromTheButtonAndFromTheCloseBox)
{
    m_settings.setQuary("N");
    makeForm();
    struct Row
    {
        const char *what;
        int answer;
        bool closeBox;
    };
    const Row rows[] = {
        {"button, No", QMessageBox::No, false},
        {"close box, No", QMessageBox::No, true},
        {"button, Yes", QMessageBox::Yes, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        m_form->show();
        const int endedBefore = m_ended;
        const QString text = answering(row.answer, [&] {
            if (row.closeBox)
                m_form->close();
            else
                QTest::mouseClick(m_form->CmdEnd, Qt::LeftButton);
        });
        EXPECT_EQ(text, "هل تريد الخروج من البرنامج");
        if (row.answer == QMessageBox::Yes) {
            EXPECT_EQ(m_ended, endedBefore + 1);
            EXPECT_FALSE(m_form->isVisible());
        } else {
            EXPECT_EQ(m_ended, endedBefore);
            EXPECT_TRUE(m_form->isVisible());
        }
    }
}

TEST_F(Form1LifecycleTest, EmptySpaceDoubleClickPinsAndRightClickUnpins)
{
    m_settings.setQuary("N");
    makeForm();
    m_form->move(40, 30);
    const auto onTop = [&] { return m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
    // Empty space of the window: the strip between the lists and the panes.
    const QPoint formSpace(200, 397);
    QTest::mouseDClick(m_form.get(), Qt::LeftButton, {}, formSpace);
    EXPECT_TRUE(onTop());
    EXPECT_EQ(m_form->pos(), QPoint(0, 0));

    // Controls and inner frames keep their clicks to themselves.
    m_form->move(40, 30);
    QTest::mouseClick(m_form->File1->viewport(), Qt::RightButton);
    QTest::mouseClick(m_form->CmdDoNow, Qt::RightButton);
    QTest::mouseClick(m_form->findChild<QGroupBox *>("Frame2"), Qt::RightButton, {}, QPoint(3, 30));
    QTest::mouseClick(m_form->findChild<QLabel *>("Label2"), Qt::RightButton);
    EXPECT_TRUE(onTop());

    // The rules pane's own empty space counts as the window's.
    QTest::mouseClick(m_form->Fram, Qt::RightButton, {}, QPoint(m_form->Fram->width() - 3, 160));
    EXPECT_FALSE(onTop());
    EXPECT_EQ(m_form->pos(), QPoint(0, 0));
    QTest::mouseDClick(m_form->Fram, Qt::LeftButton, {}, QPoint(m_form->Fram->width() - 3, 160));
    EXPECT_TRUE(onTop());
    QTest::mouseClick(m_form.get(), Qt::LeftButton, {}, formSpace);
    EXPECT_TRUE(onTop()); // a left click does nothing
    QTest::mouseClick(m_form.get(), Qt::RightButton, {}, formSpace);
    EXPECT_FALSE(onTop());
}

TEST_F(Form1LifecycleTest, AboutWindowShowsItsPictureAndClosesWithItsButton)
{
    m_settings.setQuary("N");
    makeForm();
    apptest::FakeOpener opener(4);
    bool checked = false;
    auto closeAbout = apptest::whenModal("Form2", [&](QWidget *about) {
        checked = true;
        EXPECT_EQ(about->size(), QSize(574, 398));
        EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(about->pos(), QPoint(109, 109));
        EXPECT_EQ(about->windowHandle()->transientParent(), m_form->windowHandle());
        auto *ok = about->findChild<lorvane::CmdButton *>("CmdButton1");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->caption(), "O.K");
        const char *images[] = {"imgMailA", "imgMailB", "imgWeb"};
        for (const char *name : images) {
            auto *image = about->findChild<QLabel *>(name);
            ASSERT_NE(image, nullptr) << name;
            EXPECT_FALSE(image->pixmap().isNull());
            QTest::mouseClick(image, Qt::LeftButton);
        }
        // Nothing can open them (the opener fails): no message, still open.
        apptest::waitFor([&] { return opener.calls().size() == 3; });
        QTest::qWait(100);
        EXPECT_EQ(QApplication::activeModalWidget(), about);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    m_form->move(50, 50);
    QTest::mouseClick(m_form->cmdAbout, Qt::LeftButton);
    EXPECT_TRUE(*closeAbout);
    EXPECT_TRUE(checked);
    EXPECT_EQ(m_form->pos(), QPoint(0, 0));
    QStringList calls = opener.calls();
    calls.sort();
    QStringList targets{Form2::mailATarget(), Form2::mailBTarget(), Form2::webTarget()};
    targets.sort();
    EXPECT_EQ(calls, targets);
    EXPECT_TRUE(Form2::mailATarget().startsWith("mailto:"));
    EXPECT_TRUE(Form2::mailBTarget().startsWith("mailto:"));
}
