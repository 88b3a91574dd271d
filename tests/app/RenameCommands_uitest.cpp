// Renaming and undo through the real main window: the execute and undo
// buttons, the question boxes, the progress window and the files on disk.
#include "AppTestSupport.h"
#include "TestFolder.h"

#include "FolderListModel.h"
#include "FolderTree.h"
#include "Form1.h"
#include "Form3.h"
#include "RenameCommands.h"
#include "UndoStore.h"

#include "RenameJournal.h"
#include "RenameRecovery.h"
#include "ShownName.h"

#include "CmdButton.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

using apptest::rows;

namespace {

const QString askRename = QStringLiteral("هل تريد بالتأكيد تغيير أسماء هذه الملفات");
const QString askRestore =
    QStringLiteral("هل تريد بالتأكيد استرجاع أسماء الملفات التى أعدت تسميتها في آخر مرة");

// Notes the number of files each progress window is shown for.
class ProgressWatch : public QObject
{
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    QStringList shownFor;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *form = qobject_cast<Form3 *>(watched))
                shownFor << form->Text1->text();
        }
        return false;
    }
};

struct Box
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class RenameCommandsTest : public ::testing::Test
{
protected:
    void write(const QByteArray &name, const QByteArray &content) { m_folder.write(name, content); }
    Listing listing() const { return m_folder.listing(); }

    void makeForm()
    {
        m_form = std::make_unique<Form1>(m_folder.pathText());
        m_form->setEndProgram([] {});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    }

    // Clicks `button`, answering the message boxes that follow in turn with
    // `answers`; returns the boxes seen.
    std::vector<Box> clickAnswering(lorvane::CmdButton *button, std::vector<int> answers)
    {
        // Each watch lives as long as its flag; the next one starts once a
        // box has been answered.
        auto seen = std::make_shared<std::vector<Box>>();
        auto pending = std::make_shared<std::vector<int>>(std::move(answers));
        std::vector<std::shared_ptr<bool>> watches;
        std::function<void()> watchNext = [&] {
            if (pending->empty())
                return;
            watches.push_back(apptest::whenModal("QMessageBox", [&, seen, pending](QWidget *w) {
                auto *box = static_cast<QMessageBox *>(w);
                seen->push_back({box->windowTitle(), box->text(), box->icon()});
                const int answer = pending->front();
                pending->erase(pending->begin());
                watchNext();
                box->button(QMessageBox::StandardButton(answer))->click();
            }));
        };
        watchNext();
        QTest::mouseClick(button, Qt::LeftButton);
        apptest::waitFor([&] { return pending->empty(); }, 3000);
        QTest::qWait(50);
        return *seen;
    }

    void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    const UndoStore &undo() { return RenameCommands::of(*m_form).UndoNames(); }

    void expectReset()
    {
        EXPECT_TRUE(m_form->Filno->isChecked());
        EXPECT_TRUE(m_form->ExNo->isChecked());
        EXPECT_TRUE(m_form->Numno->isChecked());
        EXPECT_TRUE(m_form->Nno->isChecked());
        EXPECT_FALSE(m_form->chkKeepOffSomeFl->isChecked());
        EXPECT_TRUE(m_form->File1->selectionModel()->selectedRows().isEmpty());
        EXPECT_EQ(m_form->List1Names(), rows(m_form->File1));
    }

    apptest::PrivateSettings m_settings;
    TestFolder m_folder;
    std::unique_ptr<Form1> m_form;
};

} // namespace

TEST_F(RenameCommandsTest, TenFilesThreeExcludedTwoUnchanged)
{
    for (int i = 0; i < 8; ++i)
        write("old-" + QByteArray::number(i) + ".txt", QByteArray::number(i));
    write("same-1.txt", "s1");
    write("same-2.txt", "s2");
    makeForm();
    EXPECT_FALSE(m_form->cmdUnRename->isButtonEnabled());
    type(m_form->txtDel, "old");
    type(m_form->txtW, "new");
    ASSERT_EQ(m_form->List1Names().first(), "new-0.txt");
    QTest::mouseClick(m_form->chkKeepOffSomeFl, Qt::LeftButton);
    ASSERT_TRUE(m_form->chkKeepOffSomeFl->isChecked());
    for (int row : {1, 4, 6})
        m_form->setFile1Selected(row, true);

    ProgressWatch progress;
    const auto boxes = clickAnswering(m_form->CmdDoNow, {QMessageBox::Yes});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Lorvane");
    EXPECT_EQ(boxes[0].text, askRename);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(progress.shownFor, QStringList{"7"});

    Listing expected{{"same-1.txt", "s1"}, {"same-2.txt", "s2"}};
    for (int i = 0; i < 8; ++i) {
        const bool excluded = i == 1 || i == 4 || i == 6;
        expected[(excluded ? "old-" : "new-") + QByteArray::number(i) + ".txt"] =
            QByteArray::number(i);
    }
    EXPECT_EQ(listing(), expected);
    EXPECT_EQ(undo().folder(), m_folder.path());
    apptest::Renames renamed;
    for (int i : {0, 2, 3, 5, 7})
        renamed.emplace_back("new-" + QByteArray::number(i) + ".txt",
                             "old-" + QByteArray::number(i) + ".txt");
    EXPECT_EQ(apptest::recordedRenames(undo()), renamed);
    EXPECT_TRUE(m_form->cmdUnRename->isButtonEnabled());
    // The window shows the folder as it is now, every rule back to no change.
    EXPECT_TRUE(rows(m_form->File1).contains("new-0.txt"));
    expectReset();
}

TEST_F(RenameCommandsTest, AnsweringNoRenamesNothingButResetsTheWindow)
{
    write("a.txt", "A");
    write("b.txt", "B");
    makeForm();
    type(m_form->txtDel, "a");
    type(m_form->txtW, "z");
    ProgressWatch progress;
    const auto boxes = clickAnswering(m_form->CmdDoNow, {QMessageBox::No});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(progress.shownFor.isEmpty());
    EXPECT_EQ(listing(), (Listing{{"a.txt", "A"}, {"b.txt", "B"}}));
    EXPECT_FALSE(m_form->cmdUnRename->isButtonEnabled());
    EXPECT_EQ(m_form->txtDel->text(), "a");
    expectReset();
}

TEST_F(RenameCommandsTest, EqualPreviewNamesEndUpDistinct)
{
    write("a.txt", "A");
    write("b.txt", "B");
    write("c.txt", "C");
    makeForm();
    m_form->txtZ->setText("2");
    QTest::mouseClick(m_form->reFil, Qt::LeftButton);
    type(m_form->txtFil, "same");
    ASSERT_EQ(m_form->List1Names(), (QStringList{"same.txt", "same.txt", "same.txt"}));

    QStringList previewAtQuestion;
    QString start;
    QString step;
    const auto watch = apptest::whenModal("QMessageBox", [&](QWidget *w) {
        previewAtQuestion = m_form->List1Names();
        start = m_form->txtStart->text();
        step = m_form->txtStep->text();
        static_cast<QMessageBox *>(w)->button(QMessageBox::Yes)->click();
    });
    QTest::mouseClick(m_form->CmdDoNow, Qt::LeftButton);
    ASSERT_TRUE(apptest::waitFor([&] { return !previewAtQuestion.isEmpty(); }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(start, "1");
    EXPECT_EQ(step, "1");
    EXPECT_EQ(m_form->txtZ->text(), "2");
    EXPECT_EQ(QSet<QString>(previewAtQuestion.begin(), previewAtQuestion.end()).size(), 3);
    Listing expected;
    const QByteArray contents[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i)
        expected[previewAtQuestion[i].toUtf8()] = contents[i];
    EXPECT_EQ(listing(), expected);
    EXPECT_EQ(undo().count(), 3);
    expectReset();
}

TEST_F(RenameCommandsTest, TakenNamesAndVanishedFilesAreReportedAndTheRestRenamed)
{
    write("a.txt", "A");
    write("b.txt", "B");
    write("c.txt", "C");
    write(".zbz.txt", "hidden");
    makeForm();
    // a -> az, b -> .zbz (held by the hidden file), c -> cz (c is gone by then).
    type(m_form->txtFil, "z");
    QTest::mouseClick(m_form->FilBe, Qt::LeftButton);
    type(m_form->txtDel, "b");
    type(m_form->txtW, ".zb");
    ASSERT_EQ(::unlink(m_folder.pathOf("c.txt").constData()), 0);
    const QStringList preview = m_form->List1Names();
    ASSERT_EQ(preview, (QStringList{"az.txt", ".zbz.txt", "cz.txt"}));

    const auto boxes = clickAnswering(m_form->CmdDoNow, {QMessageBox::Yes, QMessageBox::Ok});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, "Lorvane");
    const QString &report = boxes[1].text;
    EXPECT_TRUE(report.startsWith(QStringLiteral("تعذرت إعادة تسمية هذه الملفات:")));
    const auto line = [](const char *from, const char *to, const QString &why) {
        return QStringLiteral("%1 إلى %2: %3")
            .arg(lorvane::isolatedName(from), lorvane::isolatedName(to), why);
    };
    EXPECT_TRUE(report.contains(
        line("b.txt", ".zbz.txt", QStringLiteral("يوجد ملف أو مجلد آخر بالاسم الجديد"))))
        << report.toStdString();
    EXPECT_TRUE(report.contains(line("c.txt", "cz.txt", QStringLiteral("الملف لم يعد موجودا"))))
        << report.toStdString();
    EXPECT_EQ(listing(), (Listing{{"az.txt", "A"}, {"b.txt", "B"}, {".zbz.txt", "hidden"}}));
    EXPECT_EQ(apptest::recordedRenames(undo()), (apptest::Renames{{"az.txt", "a.txt"}}));
}

TEST_F(RenameCommandsTest, UndoRestoresTheRecordedFolderFromAnywhere)
{
    const TestFolder elsewhere;
    elsewhere.write("other.txt", "O");
    write("1.txt", "one");
    write("2.txt", "two");
    makeForm();
    type(m_form->txtFil, "x-");
    QTest::mouseClick(m_form->FilBe, Qt::LeftButton);
    ASSERT_EQ(clickAnswering(m_form->CmdDoNow, {QMessageBox::Yes}).size(), 1u);
    const Listing renamed = listing();
    ASSERT_NE(renamed, (Listing{{"1.txt", "one"}, {"2.txt", "two"}}));

    // No leaves everything as it is.
    const auto declined = clickAnswering(m_form->cmdUnRename, {QMessageBox::No});
    ASSERT_EQ(declined.size(), 1u);
    EXPECT_EQ(declined[0].text, askRestore);
    EXPECT_EQ(declined[0].icon, QMessageBox::Question);
    EXPECT_TRUE(m_form->cmdUnRename->isButtonEnabled());
    EXPECT_EQ(listing(), renamed);

    m_form->folderTree->selectFolder(elsewhere.pathText());
    ASSERT_EQ(rows(m_form->File1), QStringList{"other.txt"});
    ASSERT_EQ(clickAnswering(m_form->cmdUnRename, {QMessageBox::Yes}).size(), 1u);
    EXPECT_EQ(listing(), (Listing{{"1.txt", "one"}, {"2.txt", "two"}}));
    EXPECT_EQ(elsewhere.listing(), (Listing{{"other.txt", "O"}}));
    EXPECT_FALSE(m_form->cmdUnRename->isButtonEnabled());
    EXPECT_EQ(rows(m_form->File1), (QStringList{"1.txt", "2.txt"}));
    expectReset();
}

// Each new name is the next file's old name, so the renames only work from
// the end of the chain; the undo needs the opposite order. (Rings need a
// preview that no rule makes from sorted names; the execution tests cover
// them.)
TEST_F(RenameCommandsTest, ChainRenamesAndUndoesInBothDirections)
{
    const Listing before{{"a", "1"}, {"aa", "2"}, {"aaa", "3"}};
    for (const auto &[name, content] : before)
        write(name, content);
    makeForm();
    type(m_form->txtDel, "a");
    type(m_form->txtW, "aa");
    ASSERT_EQ(m_form->List1Names(), (QStringList{"aa", "aaaa", "aaaaaa"}));
    ASSERT_EQ(clickAnswering(m_form->CmdDoNow, {QMessageBox::Yes}).size(), 1u);
    EXPECT_EQ(listing(), (Listing{{"aa", "1"}, {"aaaa", "2"}, {"aaaaaa", "3"}}));
    EXPECT_EQ(undo().count(), 3);
    ASSERT_EQ(clickAnswering(m_form->cmdUnRename, {QMessageBox::Yes}).size(), 1u);
    EXPECT_EQ(listing(), before);
}

// The tests run as root, where permissions do not bite: the folder is a tmpfs
// mounted read-only, or else one with the immutable attribute.
TEST_F(RenameCommandsTest, ReadOnlyFolderKeepsEveryFileAndSaysWhy)
{
    const QByteArray locked = m_folder.pathOf("locked");
    m_folder.makeFolder("locked");
    const bool mounted = ::mount("lorvane-test", locked.constData(), "tmpfs", 0, "size=1m") == 0;
    struct Unmount
    {
        QByteArray path;
        bool mounted;
        ~Unmount()
        {
            if (mounted)
                ::umount2(path.constData(), MNT_DETACH);
        }
    } unmount{locked, mounted};
    for (const char *name : {"a.txt", "b.txt"}) {
        QFile file(QFile::decodeName(locked + '/' + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name);
    }
    QString reason;
    if (mounted &&
        ::mount(nullptr, locked.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0) {
        reason = QStringLiteral("وسيط التخزين للقراءة فقط");
    } else {
        const int fd = ::open(locked.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        const bool immutable =
            fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
            (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0)
            ::close(fd);
        if (!immutable)
            GTEST_SKIP() << "neither a read-only mount nor the immutable attribute is available";
        reason = QStringLiteral("لا توجد صلاحية لتغيير الاسم");
    }
    struct Mutable
    {
        QByteArray path;
        ~Mutable()
        {
            const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
    } makeMutable{locked};

    m_form = std::make_unique<Form1>(QFile::decodeName(locked));
    m_form->setEndProgram([] {});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    ASSERT_EQ(rows(m_form->File1), (QStringList{"a.txt", "b.txt"}));
    type(m_form->txtFil, "new-");
    QTest::mouseClick(m_form->FilBe, Qt::LeftButton);
    const QStringList preview = m_form->List1Names();
    const auto boxes = clickAnswering(m_form->CmdDoNow, {QMessageBox::Yes, QMessageBox::Ok});
    ASSERT_EQ(boxes.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(
            boxes[1].text.contains(QStringLiteral("%1 إلى %2: %3")
                                       .arg(lorvane::isolatedName(rows(m_form->File1).value(i)),
                                            lorvane::isolatedName(preview[i]), reason)))
            << boxes[1].text.toStdString();
    }
    EXPECT_EQ(undo().count(), 0);
    EXPECT_EQ(rows(m_form->File1), (QStringList{"a.txt", "b.txt"}));
    m_form.reset();
}

namespace {

TEST(RenameRecovery, BatchLeftBehindIsOfferedAtStartAndPutBack)
{
    QTemporaryDir state;
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    lorvane::RenameJournal::Plan plan;
    plan.folder = folder;
    plan.temporaryPrefixes = {"~lorvane-1-"};
    for (const char *name : {"a", "b"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::NewOnly));
        file.write(QByteArray(name).toUpper());
        file.close();
        lorvane::FileIdentity identity;
        ASSERT_EQ(
            lorvane::identify(AT_FDCWD, QFile::encodeName(file.fileName()).constData(), identity),
            0);
        plan.pairs.push_back({name, QByteArray(name) + ".new", identity});
    }
    // The batch got as far as one file when it was killed.
    ASSERT_TRUE(QFile::rename(dir.filePath("a"), dir.filePath("a.new")));
    {
        lorvane::RenameJournal journal;
        ASSERT_EQ(journal.begin(state.path(), plan), QString());
    }

    QString question;
    QString finishCaption;
    QString done;
    std::shared_ptr<bool> doneShown;
    const auto asked = apptest::whenModal("QMessageBox", [&](QWidget *w) {
        auto *box = static_cast<QMessageBox *>(w);
        question = box->text();
        finishCaption = box->button(QMessageBox::Yes)->text();
        doneShown = apptest::answerMessageBox(QMessageBox::Ok, &done);
        box->button(QMessageBox::No)->click();
    });
    RenameRecovery::offer(nullptr, state.path());
    EXPECT_TRUE(*asked);
    EXPECT_TRUE(question.contains(QStringLiteral(
        "من 2 ملف: 1 بالاسم المطلوب، و1 بالاسم الذي كان له قبل العملية، و0 باسم مؤقت.")))
        << question.toStdString();
    EXPECT_EQ(finishCaption, QStringLiteral("إكمال العملية"));
    ASSERT_TRUE(doneShown && *doneShown);
    EXPECT_TRUE(done.startsWith(QStringLiteral("انتهت العملية"))) << done.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a", "b"}));
    EXPECT_TRUE(lorvane::RenameJournal::leftBehind(state.path()).isEmpty());
}

} // namespace
