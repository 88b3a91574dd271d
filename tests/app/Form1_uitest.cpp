// The main window through its real widgets: captions, listing, the rule boxes
// driving the preview, the folder tree, the filter.
#include "AppTestSupport.h"
#include "TestFolder.h"

#include "FileNameCodec.h"
#include "FolderListModel.h"
#include "FolderTree.h"
#include "FolderTreeModel.h"
#include "Form1.h"
#include "NameClashes.h"
#include "NameItemDelegate.h"
#include "NameListView.h"
#include "RenameEngine.h"
#include "ShownName.h"
#include "TextBox.h"

#include "CmdButton.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <unistd.h>

using apptest::rows;

namespace {

class Form1Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        apptest::makeFiles(m_folder.pathText(), {"photo.jpg", "file10.txt", "file2.txt",
                                                 "Notes.TXT", ".hidden", "readme"});
        ASSERT_TRUE(QDir(m_folder.pathText()).mkdir("sub"));
        apptest::makeFiles(m_folder.filePath("sub"), {"a.png", "b.JPG", "c.jpg"});
    }

    template <typename T> T *child(const char *name)
    {
        T *w = m_form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    void makeForm()
    {
        m_form = std::make_unique<Form1>(m_folder.pathText());
        m_form->setEndProgram([] {});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    }

    QStringList preview() { return rows(child<QListView>("List1")); }

    apptest::PrivateSettings m_settings;
    TestFolder m_folder;
    std::unique_ptr<Form1> m_form;
};

} // namespace

TEST_F(Form1Test, StartsOnTheStartFolderWithItsFilesInNaturalOrder)
{
    makeForm();
    const QStringList expected = {"file2.txt", "file10.txt", "Notes.TXT", "photo.jpg", "readme"};
    EXPECT_EQ(m_form->windowTitle(), "Lorvane");
    EXPECT_EQ(m_form->txtPath->text(), QDir::cleanPath(m_folder.pathText()));
    EXPECT_FALSE(m_form->txtPath->isVisible());
    EXPECT_EQ(rows(m_form->File1), expected);
    EXPECT_EQ(preview(), expected);
    EXPECT_EQ(m_form->List1Names(), expected);
    EXPECT_EQ(m_form->folderTree->currentFolder(), QDir::cleanPath(m_folder.pathText()));
    // Load state: File1 and List1 disabled, the rules pane shown, properties hidden.
    EXPECT_FALSE(m_form->File1->isEnabled());
    EXPECT_FALSE(m_form->List1->isEnabled());
    EXPECT_TRUE(m_form->Fram->isVisible());
    EXPECT_FALSE(m_form->Frame->isVisible());
    EXPECT_EQ(m_form->Frame->objectName(), "Frame");
    EXPECT_EQ(m_form->size(), QSize(789, 573));
    EXPECT_EQ(m_form->layoutDirection(), Qt::RightToLeft);
    QAbstractItemModelTester file1Tester(m_form->File1->model());
    QAbstractItemModelTester list1Tester(m_form->List1->model());
}

TEST_F(Form1Test, EveryCaptionAndTooltipIsExact)
{
    makeForm();
    struct Row
    {
        const char *name;
        const char *caption;
        const char *tooltip; // nullptr: not checked
    };
    const Row rows[] = {
        {"Label2", "اختر المجلد", nullptr},
        {"Label3", "الملفات قبل", nullptr},
        {"Label4", "الملفات بعد", nullptr},
        {"List1", nullptr, "حالة الملفات بعد التغيير"},
        {"Frame2", "تعديل أسماء الملفات", nullptr},
        {"Filno", "لا تغيير", nullptr},
        {"FilDel", "حذف", nullptr},
        {"reFil", "تغيير", nullptr},
        {"FilAf", "إدخال قبل", nullptr},
        {"FilBe", "إدخال بعد", nullptr},
        {"Label8", "استبدل", nullptr},
        {"Label9", "ب", nullptr},
        {"Frame3", "تعديل أسما الملحقات", nullptr},
        {"ExNo", "لا تغيير", nullptr},
        {"ExDel", "حذف", nullptr},
        {"ExRen", "تغيير", nullptr},
        {"Label1", "اختر الملحق", nullptr},
        {"txtP", nullptr, "اكتب الملحق بدون نقطة"},
        {"Frame5", "تعديل على الأحرف", nullptr},
        {"Nno", "لا تغيير", nullptr},
        {"NB", "أحرف كبيرة", nullptr},
        {"NF", "أحرف صغيرة", nullptr},
        {"NS", "الحرف الأول كبير", nullptr},
        {"Frame4", "ترتيب ترقيمي", nullptr},
        {"NumA", "إدخال قبل", "إدخال قبل"},
        {"NumB", "إدخال بعد", "إدخال بعد"},
        {"Numno", "لا تغيير", "لا تغيير"},
        {"Label5", "البداية", "البداية"},
        {"Label6", "الخطوة", "الخطوة"},
        {"Label7", "الأصفار", "الأصفار"},
        {"Frame6", "استبعاد بعض الملفات من التغيير", nullptr},
        {"chkKeepOffSomeFl", "استبعاد بعض الملفات من التغيير", "استبعاد بعض الملفات من التغيير"},
        {"CmdNum", "ن ع م", nullptr},
        {"cmdAntiSlct", "عكس التحديد", nullptr},
        {"cmdDestorySlct", "إلغاء التحديد", nullptr},
        {"cmdUnRename", "استعادة الأسماء", nullptr},
        {"cmdTO", "خواص الملفات", "اضغط للتحول بين خيارات أسماء الملفات و خصائصها"},
        {"CmdDoNow", " نفذ", " للتنفيذ"},
        {"cmdAbout", "حول", nullptr},
        {"CmdEnd", "خروج", nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QWidget *w = m_form->findChild<QWidget *>(QString::fromLatin1(row.name));
        ASSERT_NE(w, nullptr);
        if (row.caption) {
            QString caption;
            if (auto *b = qobject_cast<lorvane::CmdButton *>(w))
                caption = b->caption();
            else if (auto *g = qobject_cast<QGroupBox *>(w))
                caption = g->title();
            else
                caption = w->property("text").toString();
            EXPECT_EQ(caption, QString::fromUtf8(row.caption));
        }
        if (row.tooltip) {
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.tooltip));
        }
    }
    EXPECT_FALSE(m_form->cmdAntiSlct->isButtonEnabled());
    EXPECT_FALSE(m_form->cmdDestorySlct->isButtonEnabled());
    EXPECT_TRUE(m_form->CmdDoNow->isButtonEnabled());
    EXPECT_FALSE(m_form->chkKeepOffSomeFl->isChecked());
}

// Our font and the style's frame titles take more room than the design's: no
// text of a frame, in either pane, is cut, sits on the frame's title or border,
// or overlaps another part of the frame.
TEST_F(Form1Test, FrameContentsClearTheTitleAndOneAnother)
{
    makeForm();
    const QList<QGroupBox *> frames = m_form->findChildren<QGroupBox *>();
    ASSERT_EQ(frames.size(), 7);
    for (QGroupBox *frame : frames) {
        SCOPED_TRACE(frame->objectName().toStdString());
        const QList<QWidget *> parts = frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *part : parts) {
            SCOPED_TRACE(part->objectName().toStdString());
            EXPECT_TRUE(frame->contentsRect().contains(part->geometry()));
            if (qobject_cast<QLabel *>(part) || qobject_cast<QRadioButton *>(part) ||
                qobject_cast<QCheckBox *>(part)) {
                EXPECT_GE(part->width(), part->sizeHint().width());
            }
            for (QWidget *other : parts) {
                if (other != part) {
                    EXPECT_FALSE(part->geometry().intersects(other->geometry()))
                        << other->objectName().toStdString();
                }
            }
        }
    }
}

TEST_F(Form1Test, TypingInTheRuleBoxesRewritesThePreview)
{
    makeForm();
    apptest::clickIndicator(m_form->reFil);
    EXPECT_TRUE(m_form->reFil->isChecked());
    EXPECT_FALSE(m_form->Filno->isChecked());
    EXPECT_EQ(preview(), (QStringList{".txt", ".txt", ".TXT", ".jpg", ""}));

    m_form->txtFil->setFocus();
    QTest::keyClicks(m_form->txtFil, "new");
    EXPECT_EQ(m_form->txtFil->text(), "new");
    EXPECT_EQ(preview(), (QStringList{"new.txt", "new.txt", "new.TXT", "new.jpg", "new"}));

    // A refused character never reaches the box or the preview.
    QTest::keyClicks(m_form->txtFil, "?:");
    EXPECT_EQ(m_form->txtFil->text(), "new");
    EXPECT_EQ(preview()[0], "new.txt");

    apptest::clickIndicator(m_form->NB);
    EXPECT_EQ(preview(), (QStringList{"NEW.TXT", "NEW.TXT", "NEW.TXT", "NEW.JPG", "NEW"}));
    QTest::keyClick(m_form->txtFil, Qt::Key_Backspace);
    EXPECT_EQ(preview()[3], "NE.JPG");

    // Names too long for the list are shortened in the middle, never scrolled
    // sideways: a sideways bar in one list only would shift its rows against the
    // other list's.
    const int rowHeight = m_form->List1->visualRect(m_form->List1->model()->index(0, 0)).height();
    QTest::keyClicks(m_form->txtFil, QString(60, u'W'));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_form->List1->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(m_form->List1->visualRect(m_form->List1->model()->index(0, 0)).height(), rowHeight);
    m_form->txtFil->selectAll();
    QTest::keyClick(m_form->txtFil, Qt::Key_Backspace);
    QTest::keyClicks(m_form->txtFil, "ne");

    // Clicking the selected option again changes nothing.
    apptest::clickIndicator(m_form->NB);
    EXPECT_TRUE(m_form->NB->isChecked());
    apptest::clickIndicator(m_form->Nno);
    apptest::clickIndicator(m_form->Filno);
    EXPECT_EQ(preview(), rows(m_form->File1));
}

TEST_F(Form1Test, ReplacePairAndNumberingThroughTheWidgets)
{
    apptest::makeFiles(m_folder.pathText(), {"banana.txt"});
    makeForm();
    const int banana = int(rows(m_form->File1).indexOf("banana.txt"));
    ASSERT_GE(banana, 0);
    m_form->txtDel->setFocus();
    QTest::keyClicks(m_form->txtDel, "a");
    EXPECT_EQ(preview()[banana], "bnn.txt");
    m_form->txtW->setFocus();
    QTest::keyClicks(m_form->txtW, "o");
    EXPECT_EQ(preview()[banana], "bonono.txt");
    EXPECT_FALSE(m_form->txtDel->isEnabled());
    QTest::keyClick(m_form->txtW, Qt::Key_Backspace);
    EXPECT_EQ(preview()[banana], "bnn.txt");
    EXPECT_TRUE(m_form->txtDel->isEnabled());
    m_form->txtDel->setFocus();
    QTest::keyClick(m_form->txtDel, Qt::Key_Backspace);
    EXPECT_EQ(preview()[banana], "banana.txt");

    m_form->txtStart->setFocus();
    m_form->txtStart->selectAll();
    QTest::keyClicks(m_form->txtStart, "1");
    EXPECT_EQ(m_form->txtStep->text(), "1"); // start above 0 with step 0 sets step 1
    apptest::clickIndicator(m_form->NumB);
    const QStringList numbered = preview();
    EXPECT_EQ(numbered[0], "1banana.txt");
    EXPECT_EQ(numbered[1], "2file2.txt");
    apptest::clickIndicator(m_form->Numno);
    EXPECT_EQ(preview(), rows(m_form->File1));
}

TEST_F(Form1Test, TreeSelectionListsTheFolderAndKeepsTheRules)
{
    makeForm();
    apptest::clickIndicator(m_form->FilDel);
    apptest::clickIndicator(m_form->NB);
    const QString sub = QDir::cleanPath(m_folder.filePath("sub"));

    FolderTreeModel *model = m_form->folderTree->folderModel();
    const QModelIndex subIndex = model->indexForPath(sub);
    ASSERT_TRUE(subIndex.isValid());
    m_form->folderTree->setCurrentIndex(subIndex);
    EXPECT_EQ(m_form->txtPath->text(), sub);
    EXPECT_EQ(rows(m_form->File1), (QStringList{"a.png", "b.JPG", "c.jpg"}));
    // The chosen rules stay in force on the new folder's names.
    EXPECT_TRUE(m_form->FilDel->isChecked());
    EXPECT_EQ(preview(), (QStringList{".PNG", ".JPG", ".JPG"}));

    // The filter matches without regard to case and keeps the rules too.
    m_form->txtP->setFocus();
    QTest::keyClicks(m_form->txtP, "jpg");
    EXPECT_EQ(rows(m_form->File1), (QStringList{"b.JPG", "c.jpg"}));
    EXPECT_EQ(preview().size(), 2);
    apptest::clickIndicator(m_form->Filno);
    apptest::clickIndicator(m_form->Nno);
    EXPECT_EQ(preview(), (QStringList{"b.JPG", "c.jpg"}));
    m_form->txtP->clear();
    QTest::keyClicks(m_form->txtP, ".");
    EXPECT_EQ(rows(m_form->File1).size(), 3);
}

// Chosen after another folder, a folder that cannot be listed leaves nothing
// of the other one to act on: lists empty, the person told, and the window's
// operations all on the folder chosen.
TEST_F(Form1Test, AFolderThatCannotBeListedLeavesNoListOfTheFolderBefore)
{
    const QString sub = QDir::cleanPath(m_folder.filePath("sub"));
    const QString locked = QDir::cleanPath(m_folder.filePath("locked"));
    ASSERT_TRUE(QDir(m_folder.pathText()).mkdir("locked"));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    struct Row
    {
        QString folder;
        const char8_t *reason;
    };
    QList<Row> rowsToTry = {{QDir::cleanPath(m_folder.filePath("gone")), u8"المجلد غير موجود"},
                            {QDir::cleanPath(m_folder.filePath("readme")), u8"هذا ليس مجلدا"}};
    // Root reads every folder.
    if (::geteuid() != 0)
        rowsToTry.append({locked, u8"لا توجد صلاحية لقراءة المجلد"});
    makeForm();
    for (const Row &row : rowsToTry) {
        SCOPED_TRACE(row.folder.toStdString());
        m_form->PathChange(sub);
        apptest::clickIndicator(m_form->FilDel);
        ASSERT_EQ(rows(m_form->File1).size(), 3);

        QString text;
        QString title;
        auto answered = apptest::answerMessageBox(QMessageBox::Ok, &text, &title);
        m_form->PathChange(row.folder);
        ASSERT_TRUE(*answered);
        EXPECT_EQ(title, "Lorvane");
        EXPECT_TRUE(text.contains(row.folder)) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(row.reason))) << text.toStdString();
        EXPECT_EQ(rows(m_form->File1), QStringList());
        EXPECT_EQ(preview(), QStringList());
        EXPECT_EQ(m_form->txtPath->text(), row.folder);
        EXPECT_EQ(m_form->File1Model()->path(), row.folder);
        EXPECT_EQ(m_form->folderTree->currentFolder(), QString());

        // Executing now has nothing of the folder before to rename.
        m_form->CmdDoNow_Click();
        EXPECT_EQ(QDir(sub).entryList(QDir::Files), (QStringList{"a.png", "b.JPG", "c.jpg"}));
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(Form1Test, FormLoadReturnsToTheStartFolderAndResetsTheRules)
{
    makeForm();
    m_form->PathChange(QDir::cleanPath(m_folder.filePath("sub")));
    ASSERT_EQ(rows(m_form->File1).size(), 3);
    apptest::clickIndicator(m_form->FilDel);
    m_form->Form_Load();
    m_form->resetRuleGroups();
    EXPECT_EQ(m_form->txtPath->text(), QDir::cleanPath(m_folder.pathText()));
    EXPECT_EQ(m_form->folderTree->currentFolder(), QDir::cleanPath(m_folder.pathText()));
    EXPECT_TRUE(m_form->Filno->isChecked());
    EXPECT_EQ(preview(), rows(m_form->File1));
    EXPECT_EQ(preview().size(), 5);
}

TEST_F(Form1Test, AListingTakenAheadServesOnlyTheFirstListingOfItsFolder)
{
    // Taken for a folder that is not listed first, it is dropped: the folder
    // listed later shows what it holds then.
    const QString sub = QDir::cleanPath(m_folder.filePath("sub"));
    FolderListModel::listAhead(sub);
    makeForm();
    EXPECT_EQ(rows(m_form->File1).size(), 5);
    apptest::makeFiles(sub, {"d.png"});
    m_form->PathChange(sub);
    EXPECT_EQ(rows(m_form->File1), (QStringList{"a.png", "b.JPG", "c.jpg", "d.png"}));

    m_form.reset();
    FolderListModel::listAhead(m_folder.pathText());
    makeForm();
    EXPECT_EQ(rows(m_form->File1),
              (QStringList{"file2.txt", "file10.txt", "Notes.TXT", "photo.jpg", "readme"}));
}

TEST_F(Form1Test, NamesThatAreNotUtf8AreListedWithTheirBytes)
{
    const QByteArray latin1 = QByteArrayLiteral("caf\xe9.txt");
    apptest::makeFiles(m_folder.pathText(), {latin1});
    makeForm();
    FolderListModel *file1 = m_form->File1Model();
    int row = -1;
    for (int i = 0; i < file1->count(); ++i) {
        if (file1->bytes(i) == latin1)
            row = i;
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(lorvane::encodeFileName(file1->name(row)), latin1);
    EXPECT_EQ(file1->fullPathBytes(row),
              QFile::encodeName(QDir::cleanPath(m_folder.pathText())) + '/' + latin1);
    EXPECT_EQ(m_form->List1Names()[row], file1->name(row));
}

TEST_F(Form1Test, DoubleClickOpensTheFileOrSaysItCannot)
{
    apptest::FakeOpener opener(3);
    makeForm();
    m_form->chkKeepOffSomeFl->click();
    ASSERT_TRUE(m_form->File1->isEnabled());
    const QModelIndex photo = m_form->File1->model()->index(3, 0);
    ASSERT_EQ(photo.data().toString(), "photo.jpg");
    QString text;
    QString title;
    auto answered = apptest::answerMessageBox(QMessageBox::Ok, &text, &title);
    const QRect r = m_form->File1->visualRect(photo);
    // A real double click: the first click, then the double click.
    QTest::mouseClick(m_form->File1->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(m_form->File1->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_TRUE(apptest::waitFor([&] { return *answered; }));
    EXPECT_EQ(text, "تعذر فتح هذا الملف");
    EXPECT_EQ(title, "Lorvane");
    ASSERT_EQ(opener.calls().size(), 1);
    EXPECT_EQ(opener.calls()[0], QDir::cleanPath(m_folder.pathText()) + "/photo.jpg");
}

TEST_F(Form1Test, PreviewMarksEveryClashUntilTheRuleChanges)
{
    makeForm();
    // Rows: file2.txt, file10.txt, Notes.TXT, photo.jpg, readme; also ".hidden" and "sub".
    const auto marks = [&] {
        std::vector<unsigned> out;
        const QAbstractItemModel *model = m_form->List1->model();
        for (int row = 0; row < model->rowCount(); ++row)
            out.push_back(model->index(row, 0).data(NameItemDelegate::ClashRole).toUInt());
        return out;
    };
    const auto retype = [](QLineEdit *box, const char *text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    };
    using namespace lorvane::NameClash;
    struct Row
    {
        const char *find;
        const char *with;
        std::vector<unsigned> expected;
    };
    const Row rows[] = {
        {"readme", ".hidden", {0, 0, 0, 0, NameTaken}},
        {"readme", "sub", {0, 0, 0, 0, NameTaken}},
        {"readme", "a/b", {0, 0, 0, 0, NameRefused}},
        {"10", "2", {SameNewName, NameTaken | SameNewName, 0, 0, 0}},
        {"file", "", {0, 0, 0, 0, 0}}, // "2.txt", "10.txt": nothing in the way
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.with);
        retype(m_form->txtW, "");
        retype(m_form->txtDel, row.find);
        if (*row.with)
            retype(m_form->txtW, row.with);
        EXPECT_EQ(marks(), row.expected);
    }
    const QModelIndex readme = m_form->List1->model()->index(4, 0);
    retype(m_form->txtW, "");
    retype(m_form->txtDel, "readme");
    retype(m_form->txtW, "sub");
    EXPECT_FALSE(readme.data(Qt::ToolTipRole).toString().isEmpty());
    // Once the rule changes the mark goes.
    retype(m_form->txtW, "x");
    EXPECT_EQ(marks(), (std::vector<unsigned>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(readme.data(Qt::ToolTipRole).toString().isEmpty());

    // An excluded file keeps its name whatever its preview says, so only the
    // clash with its neighbour's new name is left.
    retype(m_form->txtW, "");
    retype(m_form->txtDel, "10");
    retype(m_form->txtW, "2");
    ASSERT_EQ(marks(), (std::vector<unsigned>{SameNewName, NameTaken | SameNewName, 0, 0, 0}));
    apptest::clickIndicator(m_form->chkKeepOffSomeFl);
    m_form->setFile1Selected(1, true);
    EXPECT_EQ(marks(), (std::vector<unsigned>{SameNewName, SameNewName, 0, 0, 0}));
}

TEST_F(Form1Test, NamesAreShownWholeInTheirOwnDirection)
{
    const QByteArray longName = "<b>" + QByteArray(150, 'x') + "</b>.txt";
    apptest::makeFiles(m_folder.pathText(), {"01 intro (copy).mp3", "line\nbreak.txt",
                                             "rlo\xe2\x80\xaetxt.exe", "صورة 2.jpg", longName});
    makeForm();
    for (QListView *view : {m_form->File1, m_form->List1}) {
        // Shortened in its row, a name is whole in the row's tooltip, markup and all.
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, 0);
            const QString tip =
                static_cast<NameListView *>(view)->rowToolTipAt(view->visualRect(index).center());
            if (index.data().toString() == QString::fromUtf8(longName))
                EXPECT_EQ(QTextDocumentFragment::fromHtml(tip).toPlainText(),
                          lorvane::isolatedName(QString::fromUtf8(longName)));
            else
                EXPECT_EQ(tip, QString()) << row;
        }

        auto *delegate = qobject_cast<QStyledItemDelegate *>(view->itemDelegate());
        ASSERT_NE(delegate, nullptr);
        const QAbstractItemModel *model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString name = model->index(row, 0).data().toString();
            SCOPED_TRACE(name.toStdString());
            const QString shown = delegate->displayText(name, QLocale());
            EXPECT_EQ(shown, lorvane::isolatedName(name));
            for (QChar hidden : {QChar(u'\n'), QChar(0x202E)})
                EXPECT_FALSE(shown.contains(hidden));

            // Laid out inside a right-to-left line, a Latin name reads left to
            // right and an Arabic one right to left, each as one run.
            QTextLayout layout(shown, view->font());
            QTextOption option;
            option.setTextDirection(Qt::RightToLeft);
            layout.setTextOption(option);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setLineWidth(2000);
            layout.endLayout();
            const bool latin = !name.startsWith(u'ص');
            std::vector<qreal> xs;
            // The cursor next to a run's first or last character can stand at the
            // run's other edge, so those two are left out.
            for (qsizetype i = 2; i < shown.size() - 2; ++i) {
                if (shown[i].isLetterOrNumber() &&
                    (latin || shown[i].script() == QChar::Script_Arabic))
                    xs.push_back(line.cursorToX(int(i)));
            }
            for (size_t k = 1; k < xs.size(); ++k)
                EXPECT_EQ(latin, xs[k] > xs[k - 1]) << k;
        }
    }
}

TEST_F(Form1Test, RuleBoxesTakeAtMost255Characters)
{
    makeForm();
    apptest::clickIndicator(m_form->ExRen);
    QApplication::clipboard()->setText(QString(32767, u'1'));
    for (QLineEdit *box : {m_form->txtFil, m_form->txtEX, m_form->txtDel, m_form->txtW,
                           m_form->txtStart, m_form->txtStep, m_form->txtZ, m_form->txtP}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setEnabled(true);
        box->setFocus();
        box->selectAll();
        box->paste();
        EXPECT_EQ(box->text().size(), 255);
        EXPECT_LE(m_form->engine().textBox(box->objectName())->text().size(), 255);
    }
}
