// The properties pane inside the real main window: the pane switch, loading
// the file picked in File1, and the deletes that reload the window.
#include "AppTestSupport.h"

#include "ArabicLanguage.h"

#include "FolderListModel.h"
#include "Form1.h"
#include "PropertiesPane.h"

#include "CmdButton.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Form1PropertiesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_folder = m_root.filePath(QStringLiteral("photos"));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        apptest::makeFiles(m_folder, {"a.txt", "b.txt", "c.txt"});
        m_oldHome = qgetenv("HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", QFile::encodeName(m_root.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_root.filePath(QStringLiteral("data"))));
        m_form = std::make_unique<Form1>(m_folder);
        m_form->setEndProgram([] {});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        ASSERT_EQ(m_form->File1Model()->count(), 3);
        m_pane = qobject_cast<lorvane::PropertiesPane *>(m_form->Frame);
        ASSERT_NE(m_pane, nullptr);
    }
    void TearDown() override
    {
        m_form.reset();
        qputenv("HOME", m_oldHome);
        if (m_oldDataHome.isEmpty())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldDataHome);
    }

    void click(lorvane::CmdButton *button)
    {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    lorvane::CmdButton *paneButton(const char *name)
    {
        return m_pane->findChild<lorvane::CmdButton *>(QString::fromLatin1(name));
    }
    void pickRow(int row)
    {
        QListView *view = m_form->File1;
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }

    apptest::PrivateSettings m_settings;
    QTemporaryDir m_root;
    QString m_folder;
    QByteArray m_oldHome;
    QByteArray m_oldDataHome;
    std::unique_ptr<Form1> m_form;
    lorvane::PropertiesPane *m_pane = nullptr;
};

} // namespace

TEST_F(Form1PropertiesTest, CmdTOSwitchesThePanesAndFile1)
{
    EXPECT_FALSE(m_pane->isVisible());
    EXPECT_FALSE(m_form->File1->isEnabled());
    click(m_form->cmdTO);
    EXPECT_TRUE(m_pane->isVisible());
    EXPECT_FALSE(m_form->Fram->isVisible());
    EXPECT_EQ(m_form->cmdTO->caption(), "أسماء الملفات");
    EXPECT_EQ(m_form->cmdTO->pos(), QPoint(264, 472));
    EXPECT_TRUE(m_form->File1->isEnabled());
    EXPECT_EQ(m_form->File1->toolTip(), "اضغط ضغطتين لفتح الملف");
    // The switch stays reachable on top of the pane.
    EXPECT_EQ(m_form->childAt(m_form->cmdTO->geometry().center()), m_form->cmdTO);

    click(m_form->cmdTO);
    EXPECT_FALSE(m_pane->isVisible());
    EXPECT_TRUE(m_form->Fram->isVisible());
    EXPECT_EQ(m_form->cmdTO->caption(), "خواص الملفات");
    EXPECT_EQ(m_form->cmdTO->pos(), QPoint(640, 504));
    EXPECT_FALSE(m_form->File1->isEnabled()); // exclusion is off
    EXPECT_EQ(m_form->File1->toolTip(), Form1::File1ExcludeTip());

    // With exclusion on, going back leaves File1 enabled.
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    click(m_form->cmdTO);
    click(m_form->cmdTO);
    EXPECT_TRUE(m_form->File1->isEnabled());
}

TEST_F(Form1PropertiesTest, PaneControlsLeaveTheWindowButtonsFree)
{
    click(m_form->cmdTO);
    const QList<lorvane::CmdButton *> windowButtons = {m_form->cmdTO, m_form->CmdDoNow,
                                                       m_form->cmdAbout, m_form->CmdEnd};
    const QList<QWidget *> parts = m_pane->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(parts.size(), 8); // two frames, the edit box, four buttons, lblType
    for (QWidget *part : parts) {
        SCOPED_TRACE(part->objectName().toStdString());
        const QRect onForm(part->mapTo(m_form.get(), QPoint(0, 0)), part->size());
        EXPECT_TRUE(m_pane->rect().contains(part->geometry()));
        for (lorvane::CmdButton *b : windowButtons) {
            SCOPED_TRACE(b->objectName().toStdString());
            EXPECT_FALSE(onForm.intersects(b->geometry()));
        }
        for (QWidget *other : parts) {
            if (other == part)
                continue;
            EXPECT_FALSE(part->geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        }
    }
}

TEST_F(Form1PropertiesTest, CmdAttrLoadsTheFilePickedInFile1)
{
    click(m_form->cmdTO);
    pickRow(1);
    click(paneButton("cmdAttr"));
    EXPECT_EQ(m_pane->SelectedPath(), m_folder + "/b.txt");
    EXPECT_NE(m_pane->findChild<QLabel *>("lblType")->text(), "الملف من النوع: ");
    EXPECT_FALSE(m_pane->largeIconPicture().isNull());
}

TEST_F(Form1PropertiesTest, TrashReloadsTheWindowAndClosesThePane)
{
    click(m_form->cmdTO);
    pickRow(0);
    QString asked;
    const auto answered = apptest::answerMessageBox(QMessageBox::Yes, &asked);
    click(paneButton("cmdDel"));
    ASSERT_TRUE(*answered);
    EXPECT_EQ(asked, "سيتم نقل الملف المحدد الى سلة المحذوفات");
    EXPECT_FALSE(QFile::exists(m_folder + "/a.txt"));
    EXPECT_TRUE(QFile::exists(m_root.filePath("data/Trash/files/a.txt")));
    EXPECT_TRUE(QFile::exists(m_root.filePath("data/Trash/info/a.txt.trashinfo")));

    // The load step ran: the lists show the folder as it now is, and
    // neither pane is visible until cmdTO brings back the name rules.
    EXPECT_TRUE(apptest::waitFor([&] { return m_form->File1Model()->count() == 2; }));
    EXPECT_EQ(apptest::rows(m_form->File1), (QStringList{"b.txt", "c.txt"}));
    EXPECT_EQ(m_form->List1Names(), (QStringList{"b.txt", "c.txt"}));
    EXPECT_FALSE(m_pane->isVisible());
    EXPECT_FALSE(m_form->Fram->isVisible());
    EXPECT_FALSE(m_form->File1->isEnabled());
    click(m_form->cmdTO);
    EXPECT_TRUE(m_form->Fram->isVisible());
    EXPECT_FALSE(m_pane->isVisible());
}

TEST_F(Form1PropertiesTest, DeletesNeedAnEntryPickedInFile1)
{
    click(m_form->cmdTO);
    // File1 holds the focus, but no entry was picked.
    m_form->File1->setFocus();
    m_form->File1->setCurrentIndex(m_form->File1->model()->index(0, 0));
    m_form->File1->clearSelection();
    const auto answered = apptest::answerMessageBox(QMessageBox::Yes);
    click(paneButton("cmdKill"));
    click(paneButton("cmdDel"));
    QTest::qWait(50);
    EXPECT_FALSE(*answered);
    EXPECT_EQ(m_form->File1Model()->count(), 3);
    EXPECT_TRUE(QFileInfo(m_folder).isDir());
    EXPECT_TRUE(m_pane->isVisible());
}

TEST_F(Form1PropertiesTest, PermanentDeleteOfTheLastFilesEmptiesBothLists)
{
    for (int left = 3; left > 0; --left) {
        SCOPED_TRACE(left);
        // After a delete the first click brings back the name rules.
        for (int i = 0; i < 2 && !m_pane->isVisible(); ++i)
            click(m_form->cmdTO);
        ASSERT_TRUE(m_pane->isVisible());
        pickRow(0);
        const auto answered = apptest::answerMessageBox(QMessageBox::Yes);
        click(paneButton("cmdKill"));
        ASSERT_TRUE(*answered);
        EXPECT_TRUE(apptest::waitFor([&] { return m_form->File1Model()->count() == left - 1; }));
    }
    EXPECT_TRUE(apptest::rows(m_form->File1).isEmpty());
    EXPECT_TRUE(m_form->List1Names().isEmpty());
    EXPECT_FALSE(QFile::exists(m_root.filePath("data/Trash/files/a.txt")));
}

// Last in this program: Arabic stays the language of the tests after it.
TEST_F(Form1PropertiesTest, InArabicTheStandardButtonsAndTypeNamesAreArabic)
{
    ASSERT_TRUE(useArabicLanguage(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains(u"نعم"));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().contains(u"لا"));
    // An underlined shortcut letter or an icon beside the text breaks the word.
    EXPECT_EQ(box.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, &box), 0);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->icon().isNull());
    EXPECT_EQ(QFileIconProvider().type(QFileInfo(m_root.path())), "مجلّد");
    click(m_form->cmdTO);
    click(paneButton("cmdAttr")); // nothing picked: the folder itself
    EXPECT_EQ(m_pane->findChild<QLabel *>("lblType")->text(), "الملف من النوع: مجلّد");
}
