// Excluding files: File1's selection is the excluded set and List1 mirrors it.
#include "AppTestSupport.h"

#include "FolderListModel.h"
#include "Form1.h"
#include "NameListView.h"
#include "RenameEngine.h"

#include "CmdButton.h"

#include <QCheckBox>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class Form1ExclusionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        apptest::makeFiles(m_folder.path(), {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
        m_form = std::make_unique<Form1>(m_folder.path());
        m_form->setEndProgram([] {});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        ASSERT_EQ(m_form->File1Model()->count(), 5);
    }

    std::vector<int> excluded() const
    {
        std::vector<int> out;
        for (int i = 0; i < m_form->File1Model()->count(); ++i) {
            if (m_form->File1Selected(i))
                out.push_back(i);
        }
        return out;
    }

    std::vector<int> mirrored() const
    {
        std::vector<int> out;
        for (int i = 0; i < m_form->List1->model()->rowCount(); ++i) {
            if (m_form->List1->selectionModel()->isRowSelected(i, {}))
                out.push_back(i);
        }
        return out;
    }

    void clickRow(QListView *view, int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, r.center());
    }

    apptest::PrivateSettings m_settings;
    QTemporaryDir m_folder;
    std::unique_ptr<Form1> m_form;
};

} // namespace

TEST_F(Form1ExclusionTest, CheckBoxSwitchesTheModeOnAndOff)
{
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    ASSERT_TRUE(m_form->chkKeepOffSomeFl->isChecked());
    EXPECT_TRUE(m_form->File1->isEnabled());
    EXPECT_TRUE(m_form->List1->isEnabled());
    EXPECT_TRUE(m_form->cmdAntiSlct->isButtonEnabled());
    EXPECT_TRUE(m_form->cmdDestorySlct->isButtonEnabled());
    EXPECT_EQ(m_form->File1->toolTip(), "انتق أي ملف لاستبعاده عن عملية تغيير الأسماء");
    EXPECT_EQ(m_form->File1->toolTip(), Form1::File1ExcludeTip());

    clickRow(m_form->File1, 1);
    clickRow(m_form->File1, 3, Qt::ControlModifier);
    EXPECT_EQ(excluded(), (std::vector<int>{1, 3}));

    // Unticking clears every exclusion and locks the lists again.
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    EXPECT_TRUE(excluded().empty());
    EXPECT_TRUE(mirrored().empty());
    EXPECT_FALSE(m_form->File1->isEnabled());
    EXPECT_FALSE(m_form->List1->isEnabled());
    EXPECT_FALSE(m_form->cmdAntiSlct->isButtonEnabled());
    EXPECT_FALSE(m_form->cmdDestorySlct->isButtonEnabled());
    EXPECT_EQ(m_form->File1->toolTip(), Form1::File1ExcludeTip()); // stays
}

TEST_F(Form1ExclusionTest, PreviewMirrorsTheSelectionWhateverIsClicked)
{
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    struct Step
    {
        const char *what;
        std::function<void()> act;
        std::vector<int> expected;
    };
    const Step steps[] = {
        {"click", [&] { clickRow(m_form->File1, 0); }, {0}},
        {"ctrl-click", [&] { clickRow(m_form->File1, 2, Qt::ControlModifier); }, {0, 2}},
        {"shift-click", [&] { clickRow(m_form->File1, 4, Qt::ShiftModifier); }, {0, 2, 3, 4}},
        {"ctrl-click off", [&] { clickRow(m_form->File1, 3, Qt::ControlModifier); }, {0, 2, 4}},
        // A click on the preview never changes what is excluded.
        {"preview click", [&] { clickRow(m_form->List1, 1); }, {0, 2, 4}},
        {"preview ctrl-click", [&] { clickRow(m_form->List1, 0, Qt::ControlModifier); }, {0, 2, 4}},
        {"invert", [&] { QTest::mouseClick(m_form->cmdAntiSlct, Qt::LeftButton); }, {1, 3}},
        {"invert again",
         [&] { QTest::mouseClick(m_form->cmdAntiSlct, Qt::LeftButton); },
         {0, 2, 4}},
        {"clear", [&] { QTest::mouseClick(m_form->cmdDestorySlct, Qt::LeftButton); }, {}},
        {"invert nothing",
         [&] { QTest::mouseClick(m_form->cmdAntiSlct, Qt::LeftButton); },
         {0, 1, 2, 3, 4}},
        {"keyboard",
         [&] {
             m_form->File1->setFocus();
             QTest::keyClick(m_form->File1, Qt::Key_Home);
         },
         {0}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(excluded(), step.expected);
        EXPECT_EQ(mirrored(), step.expected);
    }
}

TEST_F(Form1ExclusionTest, NewListingStartsWithoutSelection)
{
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    QTest::mouseClick(m_form->cmdAntiSlct, Qt::LeftButton);
    ASSERT_EQ(excluded().size(), 5u);
    apptest::makeFiles(m_folder.path(), {"f.txt"});
    m_form->File1Model()->refresh();
    EXPECT_EQ(m_form->File1Model()->count(), 6);
    EXPECT_TRUE(excluded().empty());
    EXPECT_TRUE(mirrored().empty());

    m_form->setFile1Selected(2, true);
    EXPECT_EQ(mirrored(), (std::vector<int>{2}));
    m_form->setFile1Selected(2, false);
    EXPECT_TRUE(mirrored().empty());
}

TEST_F(Form1ExclusionTest, BothListsScrollTogetherWhetherEnabledOrNot)
{
    QList<QByteArray> more;
    for (int i = 0; i < 55; ++i)
        more << QByteArray("gz-") + QByteArray::number(100 + i) + ".txt";
    apptest::makeFiles(m_folder.path(), more);
    m_form->File1Model()->refresh();
    m_form->engine().folderListed();
    const int last = m_form->File1Model()->count() - 1;
    ASSERT_EQ(last, 59);
    auto *file1 = qobject_cast<NameListView *>(m_form->File1);
    auto *list1 = qobject_cast<NameListView *>(m_form->List1);
    ASSERT_TRUE(file1 && list1);

    // One row height for both lists, with room for descenders.
    const int rowHeight = file1->visualRect(file1->model()->index(0, 0)).height();
    EXPECT_EQ(list1->visualRect(list1->model()->index(0, 0)).height(), rowHeight);
    EXPECT_GE(rowHeight, file1->fontMetrics().height());

    const auto topRow = [](QListView *view) { return view->indexAt(QPoint(20, 1)).row(); };
    const auto shows = [](QListView *view, int row) {
        return view->viewport()->rect().contains(view->visualRect(view->model()->index(row, 0)));
    };
    const auto wheel = [](QListView *view) {
        const QPointF at(20, 20);
        QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
    };

    ASSERT_FALSE(list1->isEnabled());
    for (int i = 0; i < 30; ++i)
        wheel(list1);
    EXPECT_TRUE(shows(list1, last));
    EXPECT_TRUE(shows(file1, last));
    EXPECT_EQ(topRow(file1), topRow(list1));
    EXPECT_GT(topRow(file1), 0);

    file1->scrollBar()->setValue(0);
    EXPECT_TRUE(file1->scrollBar()->isEnabled());
    EXPECT_EQ(topRow(list1), 0);

    // Enabled, and after the preview was written anew, the rows still face each other.
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    wheel(file1);
    m_form->engine().FilDel().select();
    EXPECT_GT(topRow(list1), 0);
    EXPECT_EQ(topRow(file1), topRow(list1));
    EXPECT_EQ(list1->visualRect(list1->model()->index(0, 0)).height(), rowHeight);
}
