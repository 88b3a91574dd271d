#include "Form3.h"

#include "RenameJob.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

TEST(Form3, DesignState)
{
    Form3 form;
    EXPECT_EQ(form.size(), QSize(312, 98));
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(224, 224, 224));

    EXPECT_EQ(form.Label1->text(), QStringLiteral("جاري اعادة تسمية لملفات المطلوبة"));
    // The design's boxes, grown leftwards where our font needs more room.
    for (auto [label, design] : {std::pair{form.Label1, QRect(64, 16, 186, 13)},
                                 std::pair{form.Label2, QRect(104, 32, 79, 13)}}) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->geometry().right(), design.right());
        EXPECT_EQ(label->geometry().top(), design.top());
        EXPECT_EQ(label->width(), std::max(design.width(), label->sizeHint().width()));
    }
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_DOUBLE_EQ(form.Label1->font().pointSizeF(), 8.25);
    EXPECT_EQ(form.Label1->palette().color(QPalette::WindowText), QColor(255, 128, 0));

    EXPECT_EQ(form.Label2->text(), QStringLiteral("انتظر من فضلك...."));
    EXPECT_EQ(form.Label2->palette().color(QPalette::WindowText), QColor(255, 128, 0));

    EXPECT_EQ(form.Shape1->geometry(), QRect(56, 56, 200, 25));
    EXPECT_EQ(form.Shape2->geometry(), QRect(56, 56, 1, 25));
    EXPECT_EQ(form.barTwips(), 15);

    EXPECT_EQ(form.Label3->text(), QStringLiteral("0%"));
    EXPECT_EQ(form.Label3->pos(), QPoint(264, 59));
    EXPECT_EQ(form.Label3->font().pointSize(), 12);

    EXPECT_FALSE(form.Text1->isVisibleTo(&form));
    EXPECT_EQ(form.Text1->geometry(), QRect(0, 112, 41, 19));
    EXPECT_EQ(form.Timer1->interval(), 0);
    EXPECT_FALSE(form.Timer1->isActive());
}

// Shows the window for `files` files with its timer held, so that each tick
// can be looked at.
void startHeld(Form3 &form, qint64 files)
{
    form.Text1->setText(QString::number(files));
    form.show();
    ASSERT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 1);
    EXPECT_EQ(form.totalCount(), files);
    form.Timer1->stop();
}

TEST(Form3, EachTickCountsOneFileWithoutAJob)
{
    struct Row
    {
        qint64 files;
        QStringList labels; // after each tick; the last one closes the window
        std::vector<int> bars;
    };
    const Row rows[] = {
        {1, {" 100%"}, {}},
        {2, {" 50%", " 100%"}, {1515}},
        {4, {" 25%", " 50%", " 75%", " 100%"}, {765, 1515, 2265}},
        // Halves round to even: 12.5 -> 12, 37.5 -> 38.
        {8,
         {" 12%", " 25%", " 38%", " 50%", " 62%", " 75%", " 88%", " 100%"},
         {390, 765, 1140, 1515, 1890, 2265, 2640}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.files);
        Form3 form;
        startHeld(form, row.files);
        for (qsizetype tick = 0; tick < row.labels.size(); ++tick) {
            SCOPED_TRACE(tick);
            ASSERT_TRUE(form.isVisible());
            form.Timer1_Timer();
            EXPECT_EQ(form.Label3->text(), row.labels[tick]);
            if (tick + 1 < row.labels.size()) {
                EXPECT_EQ(form.barTwips(), row.bars[size_t(tick)]);
            }
        }
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.tickCount(), 0);
        EXPECT_EQ(form.totalCount(), 0);
        EXPECT_FALSE(form.Timer1->isActive());
    }
}

TEST(Form3, ManyFilesStillMoveTheBar)
{
    Form3 form;
    startHeld(form, 100000);
    for (int i = 0; i < 50000; ++i)
        form.Timer1_Timer();
    EXPECT_EQ(form.Label3->text(), QStringLiteral(" 50%"));
    EXPECT_EQ(form.barTwips(), 1515);
    EXPECT_LE(form.Label3->geometry().right(), form.width());
}

TEST(Form3, RunsTheJobToItsEndAndClosesItself)
{
    QTemporaryDir dir(QStringLiteral("/dev/shm/lorvane-XXXXXX"));
    std::vector<lorvane::RenamePair> pairs;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray name = "f" + QByteArray::number(i);
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        pairs.push_back({name, "g" + QByteArray::number(i)});
    }
    lorvane::RenameJob job(lorvane::RenameJob::Work::Rename, QFile::encodeName(dir.path()), pairs);
    job.start();
    QStringList shown;
    Form3 form;
    form.setJob(&job);
    form.Text1->setText(QStringLiteral("3500"));
    QObject::connect(&job, &lorvane::RenameJob::progressed, [&] { shown << form.Label3->text(); });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(job.isFinished());
    EXPECT_EQ(job.batch().renamed().size(), pairs.size());
    EXPECT_EQ(form.Label3->text(), QStringLiteral(" 100%"));
    ASSERT_FALSE(shown.isEmpty());
}

TEST(Form3, FinishedJobWithNothingToRenameShowsFullAtOnce)
{
    lorvane::RenameJob job(lorvane::RenameJob::Work::Rename, "/", {});
    job.runToEnd();
    Form3 form;
    form.setJob(&job);
    startHeld(form, 1);
    form.Timer1_Timer();
    EXPECT_EQ(form.Label3->text(), QStringLiteral(" 100%"));
    EXPECT_FALSE(form.isVisible());
}

TEST(Form3, EscapeDoesNotCloseItWhileItRuns)
{
    Form3 form;
    form.Text1->setText(QStringLiteral("3"));
    form.show();
    form.Timer1->stop();
    form.Timer1->start(1000000);
    QTest::keyClick(&form, Qt::Key_Escape);
    form.close();
    EXPECT_TRUE(form.isVisible());
}

TEST(Form3, ActivationPutsTheMainWindowOnTopAtTheCorner)
{
    QWidget main;
    main.setGeometry(200, 150, 400, 300);
    main.show();
    Form3 form(&main);
    startHeld(form, 5);
    // A window of its own, but the main window's transient child.
    EXPECT_TRUE(form.isWindow());
    ASSERT_NE(form.windowHandle(), nullptr);
    EXPECT_EQ(form.windowHandle()->transientParent(), main.windowHandle());
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.pos(), QPoint(0, 0));
    EXPECT_EQ(main.size(), QSize(400, 300));
    for (int i = 0; i < 5; ++i)
        form.Timer1_Timer();
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace
