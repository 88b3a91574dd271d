// The properties pane on real files, through its own controls, with the main
// window reduced to a fake host and the message boxes and file dialogs
// answered by the test.
#include "PropertiesPane.h"

#include "CmdButton.h"
#include "DosAttributes.h"
#include "FakeHost.h"
#include "FileNameCodec.h"
#include "ModalAnswerer.h"
#include "ShownName.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/xattr.h>
#include <unistd.h>

using namespace lorvane;

namespace {

QString text(const char8_t *utf8)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(utf8));
}

bool userXattrsWork(const QString &dir)
{
    return ::setxattr(QFile::encodeName(dir).constData(), "user.lorvane-probe", "1", 1, 0) == 0;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void write(const QString &path, const QByteArray &data = "data")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

class PaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.filePath(QStringLiteral("photos"));
        ASSERT_TRUE(QDir().mkpath(m_folder));
        m_program = m_dir.filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(m_program));
        m_window.resize(790, 573);
        m_host = std::make_unique<FakeHost>(&m_window);
        m_host->shownFolder = m_folder;
        m_pane = new PropertiesPane(*m_host, &m_window);
        m_pane->move(8, 400);
        auto dialog = std::make_unique<ScriptedDialog>();
        m_dialog = dialog.get();
        m_pane->setCommonDialog(std::move(dialog));
        m_pane->setProgramFolder(m_program);
        m_window.show();
    }

    template <class T> T *child(const char *name)
    {
        T *w = m_pane->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QCheckBox *box(int k)
    {
        return child<QCheckBox>(QStringLiteral("Check1_%1").arg(k).toLatin1());
    }
    void click(const char *name)
    {
        CmdButton *b = child<CmdButton>(name);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    void toggleEdit() { child<QCheckBox>("chkChangeAttr")->click(); }
    std::array<bool, 8> shown()
    {
        std::array<bool, 8> v = {};
        for (int k = 0; k < 8; ++k)
            v[size_t(k)] = box(k)->isChecked();
        return v;
    }
    QString select(const QString &name, const QByteArray &data = "data")
    {
        const QString path = m_folder + QLatin1Char('/') + name;
        write(path, data);
        m_host->selected = name;
        return path;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    QString m_program;
    QWidget m_window;
    std::unique_ptr<FakeHost> m_host;
    PropertiesPane *m_pane = nullptr;
    ScriptedDialog *m_dialog = nullptr;
};

} // namespace

TEST_F(PaneTest, ControlsCarryTheirNamesCaptionsAndStartStates)
{
    EXPECT_EQ(m_pane->objectName(), QStringLiteral("Frame"));
    EXPECT_FALSE(m_pane->isVisibleTo(&m_window));
    EXPECT_EQ(m_pane->size(), QSize(777, 169)); // 11655 x 2535 twips
    EXPECT_EQ(child<QGroupBox>("Frame9")->title(), text(u8"خواص الملفات"));
    EXPECT_EQ(child<QGroupBox>("Frame8")->title(), text(u8"الأيقونات"));

    const QString captions[8] = {text(u8"للقراءة فقط"),
                                 text(u8"مخفي"),
                                 text(u8"نظام"),
                                 text(u8"مجلد"),
                                 text(u8"أرشيف"),
                                 text(u8"عادي"),
                                 text(u8"مؤقت") + QChar(0x200F),
                                 text(u8"مضغوط") + QChar(0x200F)};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(box(k)->text(), captions[k]);
        EXPECT_FALSE(box(k)->isEnabled());
        EXPECT_FALSE(box(k)->isChecked());
        EXPECT_EQ(box(k)->parent(), child<QGroupBox>("Frame9"));
    }
    EXPECT_EQ(box(0)->toolTip(), captions[0]);
    EXPECT_EQ(box(7)->toolTip(), captions[7]);

    const std::pair<const char *, QString> buttons[] = {
        {"cmdAttr", text(u8"عرض خصائص الملف")},
        {"cmdChangeAttr", text(u8"تغيير خصائص الملف")},
        {"CmdSaveIcon", text(u8"احفظ أيقونة الملف")},
        {"cmdChangeIcon", text(u8"غير أيقونة المجلد")},
        {"cmdDel", text(u8"حذف الملف الى سلة المحذوفات")},
        {"cmdKill", text(u8"حذف الملف نهائياً")},
        {"cmdOpen", text(u8"فتح المجلد")},
    };
    for (const auto &[name, caption] : buttons) {
        SCOPED_TRACE(name);
        CmdButton *b = child<CmdButton>(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->caption(), caption);
        EXPECT_TRUE(b->isButtonEnabled());
        EXPECT_EQ(b->buttonType(), 4);
    }
    auto *edit = child<QCheckBox>("chkChangeAttr");
    EXPECT_EQ(edit->text(), text(u8"تعديل الخواص"));
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_FALSE(edit->isChecked());
    EXPECT_EQ(child<QLabel>("lblType")->text(), text(u8"الملف من النوع: "));
    EXPECT_EQ(child<QLabel>("lblType")->toolTip(), text(u8"الملف من النوع"));
    EXPECT_EQ(child<QLabel>("picIcon_0")->toolTip(), text(u8"الأيقونة الكبيرة"));
    EXPECT_EQ(child<QLabel>("picIcon_1")->toolTip(), text(u8"الأيقونة الصغيرة"));
    EXPECT_EQ(child<QLabel>("picIcon_0")->size(), QSize(33, 33));
    EXPECT_EQ(child<QLabel>("picIcon_1")->size(), QSize(33, 25));
}

TEST_F(PaneTest, PaneSwitchCaptionsPositionsAndFile1States)
{
    CmdButton *cmdTO = m_host->cmdTO();
    m_pane->cmdTO_Click();
    EXPECT_EQ(cmdTO->caption(), text(u8"أسماء الملفات"));
    EXPECT_FALSE(m_host->framVisible);
    EXPECT_TRUE(m_pane->isVisible());
    EXPECT_EQ(m_host->file1ToolTip, text(u8"اضغط ضغطتين لفتح الملف"));
    EXPECT_EQ(cmdTO->pos(), QPoint(264, 472)); // 3960, 7080 twips
    EXPECT_TRUE(m_host->file1Enabled);
    EXPECT_EQ(m_host->exclusionClicks, 0);

    m_pane->cmdTO_Click();
    EXPECT_EQ(cmdTO->caption(), text(u8"خواص الملفات"));
    EXPECT_TRUE(m_host->framVisible);
    EXPECT_FALSE(m_pane->isVisible());
    EXPECT_EQ(cmdTO->pos(), QPoint(640, 504)); // 9600, 7560 twips
    EXPECT_EQ(m_host->exclusionClicks, 1);
    EXPECT_EQ(m_host->file1ToolTip, text(u8"انتق أي ملف لاستبعاده عن عملية تغيير الأسماء"));

    // A third click is the first again.
    m_pane->cmdTO_Click();
    EXPECT_TRUE(m_pane->isVisible());
    EXPECT_EQ(cmdTO->caption(), text(u8"أسماء الملفات"));
}

TEST_F(PaneTest, FileInformationIconsTypeAndAttributes)
{
    if (!userXattrsWork(m_folder))
        GTEST_SKIP() << "user extended attributes are not supported here";
    const QString path = select(QStringLiteral("notes.txt"), "some text");
    ASSERT_TRUE(writeDosAttributes(path, dos::Hidden | dos::Archive).ok());
    m_pane->cmdTO_Click();
    ModalAnswerer answerer;
    click("cmdAttr");
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_EQ(m_pane->SelectedPath(), path);
    EXPECT_EQ(shown(), (std::array<bool, 8>{false, true, false, false, true, false, false, false}));
    EXPECT_EQ(m_pane->AttrSnapshot(), (std::array<quint16, 8>{0, 1, 0, 0, 1, 0, 0, 0}));

    const QString type = child<QLabel>("lblType")->text();
    EXPECT_TRUE(type.startsWith(text(u8"الملف من النوع: ")));
    EXPECT_GT(type.size(), text(u8"الملف من النوع: ").size());
    const QImage large = m_pane->largeIconPicture();
    ASSERT_EQ(large.size(), QSize(32, 32));
    const QImage picture = child<QLabel>("picIcon_0")->pixmap().toImage();
    EXPECT_EQ(picture.size(), QSize(33, 33));
    // Something was drawn: not every pixel has the box's background.
    const QRgb background = picture.pixel(32, 32);
    bool drawn = false;
    for (int y = 0; y < 32 && !drawn; ++y)
        for (int x = 0; x < 32 && !drawn; ++x)
            drawn = large.pixel(x, y) != background;
    EXPECT_TRUE(drawn);
    EXPECT_FALSE(child<QLabel>("picIcon_1")->pixmap().isNull());

    // Nothing selected: the folder itself, its own type.
    m_host->selected.clear();
    click("cmdAttr");
    EXPECT_EQ(m_pane->SelectedPath(), m_folder + QLatin1Char('/'));
    EXPECT_TRUE(box(3)->isChecked());
    EXPECT_NE(child<QLabel>("lblType")->text(), type);
}

TEST_F(PaneTest, MissingFileGivesTheEnglishMessageAndKeepsThePane)
{
    select(QStringLiteral("a.txt"));
    click("cmdAttr");
    const QString before = child<QLabel>("lblType")->text();
    m_host->selected = QStringLiteral("gone.txt");
    ModalAnswerer answerer({QMessageBox::Ok});
    click("cmdAttr");
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("Lorvane"));
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Cannot retrieve information on\n") +
                                           isolatedName(m_folder + "/gone.txt"));
    EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(child<QLabel>("lblType")->text(), before);
}

TEST_F(PaneTest, EditBoxRefusedBeforeAnyFileIsLoaded)
{
    toggleEdit();
    EXPECT_FALSE(child<QCheckBox>("chkChangeAttr")->isChecked());
    for (int k = 0; k < 8; ++k)
        EXPECT_FALSE(box(k)->isEnabled()) << k;
    EXPECT_FALSE(child<CmdButton>("cmdChangeAttr")->isButtonEnabled());

    // Confirmed without a loaded file, the write has nowhere to go.
    child<CmdButton>("cmdChangeAttr")->setButtonEnabled(true);
    ModalAnswerer answerer({QMessageBox::Yes});
    click("cmdChangeAttr");
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text, text(u8"هل تريد بالتأكيد تغيير خواص هذا الملف"));
}

TEST_F(PaneTest, EditingWritesTheWordAndSwitchingOffShowsTheSnapshot)
{
    if (!userXattrsWork(m_folder))
        GTEST_SKIP() << "user extended attributes are not supported here";
    const QString path = select(QStringLiteral("b.txt"));
    ASSERT_TRUE(writeDosAttributes(path, dos::Hidden | dos::Archive).ok());
    click("cmdAttr");
    toggleEdit();
    ASSERT_TRUE(child<QCheckBox>("chkChangeAttr")->isChecked());
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(box(k)->isEnabled(), k != 3 && k != 7) << k;
    EXPECT_TRUE(child<CmdButton>("cmdChangeAttr")->isButtonEnabled());

    // Changed, then switched off without writing: the values read come back.
    box(2)->click();
    EXPECT_TRUE(box(2)->isChecked());
    toggleEdit();
    EXPECT_EQ(shown(), (std::array<bool, 8>{false, true, false, false, true, false, false, false}));
    EXPECT_FALSE(child<CmdButton>("cmdChangeAttr")->isButtonEnabled());

    // Unchanged boxes write 0x22 back; answering No writes nothing.
    toggleEdit();
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdChangeAttr");
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Information);
        EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(answerer.seen()[0].direction, Qt::RightToLeft);
    }
    EXPECT_EQ(readRawDosAttrib(path).value_or("-"), QByteArray("0x22\0", 5));
    box(1)->click(); // hidden off
    box(0)->click(); // read-only on
    box(6)->click(); // temporary on
    {
        ModalAnswerer answerer({QMessageBox::No});
        click("cmdChangeAttr");
    }
    EXPECT_EQ(readDosAttributes(path).word, dos::Hidden | dos::Archive);
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdChangeAttr");
        EXPECT_EQ(answerer.seen().size(), 1);
    }
    EXPECT_EQ(readDosAttributes(path).word, dos::ReadOnly | dos::Archive | dos::Temporary);
    EXPECT_FALSE(QFileInfo(path).isWritable() && ::geteuid() != 0);

    // Switching off shows the values read before the write, until cmdAttr.
    toggleEdit();
    EXPECT_EQ(shown(), (std::array<bool, 8>{false, true, false, false, true, false, false, false}));
    click("cmdAttr");
    EXPECT_EQ(shown(), (std::array<bool, 8>{true, false, false, false, true, false, true, false}));
}

TEST_F(PaneTest, FolderAndCompressedBoxesAreNeverWritten)
{
    if (!userXattrsWork(m_folder))
        GTEST_SKIP() << "user extended attributes are not supported here";
    m_host->selected.clear();
    click("cmdAttr");
    ASSERT_TRUE(box(3)->isChecked());
    toggleEdit();
    ModalAnswerer answerer({QMessageBox::Yes});
    click("cmdChangeAttr");
    // The folder is still one and the word stored is the folder bit only.
    EXPECT_EQ(readDosAttributes(m_folder).word, dos::Directory);
    EXPECT_EQ(readRawDosAttrib(m_folder).value_or("-"), QByteArray("0x10\0", 5));
}

TEST_F(PaneTest, RefusedWriteIsReported)
{
    const QString path = select(QStringLiteral("c.txt"));
    click("cmdAttr");
    toggleEdit();
    ASSERT_TRUE(QFile::remove(path));
    ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    click("cmdChangeAttr");
    ASSERT_EQ(answerer.seen().size(), 2);
    EXPECT_EQ(answerer.seen()[1].title, QStringLiteral("Lorvane"));
    EXPECT_TRUE(answerer.seen()[1].text.contains(path));
    EXPECT_EQ(answerer.seen()[1].icon, QMessageBox::Critical);
}

TEST_F(PaneTest, IconSavedAsBitmapOnlyUnderLowerCaseBmp)
{
    select(QStringLiteral("d.txt"));
    click("cmdAttr");
    const QString saved = m_dir.filePath(QStringLiteral("saved.bmp"));
    const QString upper = m_dir.filePath(QStringLiteral("saved.BMP"));
    m_dialog->replies = {{CommonDialog::Answer::Accepted, saved},
                         {CommonDialog::Answer::Accepted, upper},
                         {CommonDialog::Answer::Cancelled, QString()}};
    click("CmdSaveIcon");
    click("CmdSaveIcon");
    click("CmdSaveIcon");
    ASSERT_EQ(m_dialog->shown.size(), 3);
    for (const ScriptedDialog::Shown &s : m_dialog->shown) {
        EXPECT_TRUE(s.save);
        EXPECT_EQ(s.title, text(u8"اختر مسار"));
        EXPECT_EQ(s.filter, QStringLiteral("Bitmap|*.bmp|"));
        EXPECT_EQ(s.fileName, m_program + QStringLiteral("/Icons/icon.bmp"));
    }
    QImageReader reader(saved);
    EXPECT_EQ(reader.format(), "bmp");
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), QSize(32, 32));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
              m_pane->largeIconPicture().convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(QFile::exists(upper));
    EXPECT_FALSE(QFile::exists(m_program + QStringLiteral("/Icons/icon.bmp")));

    // A save that fails is told.
    m_dialog->replies = {{CommonDialog::Answer::Accepted, m_dir.filePath("none/x.bmp")}};
    ModalAnswerer answerer({QMessageBox::Ok});
    click("CmdSaveIcon");
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("none/x.bmp")));
}

TEST_F(PaneTest, CustomFolderIconWritesDesktopIniAndKeepsOtherLines)
{
    const QString icons = m_dir.filePath(QStringLiteral("icons"));
    ASSERT_TRUE(QDir().mkpath(icons));
    const QString source = icons + QStringLiteral("/folder.ico");
    write(source, "ICO");
    m_dialog->replies = {{CommonDialog::Answer::Accepted, source}};
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdChangeIcon");
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text,
                  text(u8"هل تريد تغيير أيقونة المجلد") + isolatedName(m_folder));
        EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Information);
        EXPECT_EQ(answerer.seen()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        // A folder named "<b>x</b>&lt;y" must read exactly so.
        EXPECT_EQ(answerer.seen()[0].format, Qt::PlainText);
    }
    ASSERT_EQ(m_dialog->shown.size(), 1);
    EXPECT_FALSE(m_dialog->shown[0].save);
    EXPECT_EQ(m_dialog->shown[0].title, text(u8"اختر أيقونة"));
    EXPECT_EQ(m_dialog->shown[0].filter, QStringLiteral("IconFile|*.ico|"));
    const QString ini = m_folder + QStringLiteral("/desktop.ini");
    EXPECT_EQ(contents(m_folder + QStringLiteral("/folder.ico")), "ICO");
    EXPECT_EQ(contents(ini), "[.ShellClassInfo]\r\nIconFile=folder.ico\r\nIconIndex=0\r\n"
                             "ConfirmFileOp=0\r\nOriginalIcon=%\r\n");
    EXPECT_EQ(contents(m_folder + QStringLiteral("/.directory")),
              "[Desktop Entry]\nIcon=" + (m_folder + QStringLiteral("/folder.ico")).toUtf8() +
                  "\n");
    if (userXattrsWork(m_folder)) {
        EXPECT_EQ(readDosAttributes(ini).word, dos::Hidden | dos::System);
        EXPECT_EQ(readDosAttributes(m_folder + QStringLiteral("/folder.ico")).word,
                  dos::Hidden | dos::System);
        EXPECT_EQ(readDosAttributes(m_folder).word, dos::Directory | dos::System);
    }

    // Again, with other keys and sections in the file: the four keys are
    // rewritten in place, the rest stays.
    write(ini, "[.ShellClassInfo]\r\nInfoTip=Photos\r\nIconFile=old.ico\r\n[ViewState]\r\n"
               "Mode=\r\n");
    m_dialog->replies = {{CommonDialog::Answer::Accepted, source}};
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdChangeIcon");
        EXPECT_EQ(answerer.seen().size(), 1);
    }
    EXPECT_EQ(contents(ini), "[.ShellClassInfo]\r\nInfoTip=Photos\r\nIconFile=folder.ico\r\n"
                             "IconIndex=0\r\nConfirmFileOp=0\r\nOriginalIcon=%\r\n"
                             "[ViewState]\r\nMode=\r\n");
}

TEST_F(PaneTest, FolderIconStopsOnNoCancelAndRefusedNames)
{
    const QString icons = m_dir.filePath(QStringLiteral("icons"));
    ASSERT_TRUE(QDir().mkpath(icons));
    write(icons + QStringLiteral("/UPPER.ICO"), "ICO");
    write(icons + QStringLiteral("/a\nb.ico"), "ICO");
    ASSERT_TRUE(QDir().mkpath(m_program + QStringLiteral("/Icons")));

    struct Row
    {
        const char *what;
        QMessageBox::StandardButton answer;
        ScriptedDialog::Reply reply;
        int messages;
    };
    const Row rows[] = {
        {"answered No", QMessageBox::No, {CommonDialog::Answer::Accepted, icons + "/x.ico"}, 1},
        {"cancelled", QMessageBox::Yes, {CommonDialog::Answer::Cancelled, QString()}, 1},
        {"upper-case extension",
         QMessageBox::Yes,
         {CommonDialog::Answer::Accepted, icons + QStringLiteral("/UPPER.ICO")},
         1},
        {"line break in the name",
         QMessageBox::Yes,
         {CommonDialog::Answer::Accepted, icons + QStringLiteral("/a\nb.ico")},
         2},
        {"icon missing",
         QMessageBox::Yes,
         {CommonDialog::Answer::Accepted, icons + QStringLiteral("/none.ico")},
         2},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        m_dialog->replies = {row.reply};
        m_dialog->shown.clear();
        ModalAnswerer answerer({row.answer, QMessageBox::Ok});
        click("cmdChangeIcon");
        EXPECT_EQ(answerer.seen().size(), row.messages);
        if (row.answer == QMessageBox::Yes) {
            ASSERT_EQ(m_dialog->shown.size(), 1);
            // With an Icons folder beside the program, it is the dialog's start.
            EXPECT_EQ(m_dialog->shown[0].fileName, m_program + QStringLiteral("/Icons/Icon1"));
        }
        EXPECT_EQ(QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

TEST_F(PaneTest, TrashAndPermanentDeleteAskThenReload)
{
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
    const QString trash = m_dir.filePath(QStringLiteral("data/Trash"));

    const QString keep = select(QStringLiteral("keep.txt"));
    {
        ModalAnswerer answerer({QMessageBox::No});
        click("cmdDel");
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text, text(u8"سيتم نقل الملف المحدد الى سلة المحذوفات"));
        EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
        EXPECT_EQ(answerer.seen()[0].onEnter, QMessageBox::No);
    }
    EXPECT_TRUE(QFile::exists(keep));
    EXPECT_EQ(m_host->reloads, 1);

    const QString trashed = select(QStringLiteral("old photo.jpg"), "jpeg");
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdDel");
        EXPECT_EQ(answerer.seen().size(), 1);
    }
    EXPECT_FALSE(QFile::exists(trashed));
    EXPECT_EQ(contents(trash + QStringLiteral("/files/old photo.jpg")), "jpeg");
    EXPECT_TRUE(contents(trash + QStringLiteral("/info/old photo.jpg.trashinfo"))
                    .contains("Path=" + QUrl::toPercentEncoding(trashed, "/")));
    EXPECT_EQ(m_host->reloads, 2);

    const QString killed = select(QStringLiteral("e.txt"));
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        click("cmdKill");
        ASSERT_EQ(answerer.seen().size(), 1);
        EXPECT_EQ(answerer.seen()[0].text, text(u8"لن تستطيع استعادة هذا الملف أبدا"));
        EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Information);
        EXPECT_EQ(answerer.seen()[0].onEnter, QMessageBox::No);
    }
    EXPECT_FALSE(QFile::exists(killed));
    EXPECT_FALSE(QFile::exists(trash + QStringLiteral("/files/e.txt")));
    EXPECT_EQ(m_host->reloads, 3);

    // Already gone: the failure is told and the lists are reloaded.
    {
        ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
        click("cmdKill");
        ASSERT_EQ(answerer.seen().size(), 2);
        EXPECT_TRUE(answerer.seen()[1].text.contains(killed));
    }
    EXPECT_EQ(m_host->reloads, 4);

    qputenv("HOME", oldHome);
    if (oldData.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);
}

TEST_F(PaneTest, DeletesWithNothingSelectedDoNothing)
{
    write(m_folder + QStringLiteral("/f.txt"));
    m_host->selected.clear();
    ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes});
    click("cmdDel");
    click("cmdKill");
    QTest::qWait(30);
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_EQ(m_host->reloads, 0);
    EXPECT_TRUE(QFileInfo(m_folder).isDir());
    EXPECT_TRUE(QFile::exists(m_folder + QStringLiteral("/f.txt")));
}

TEST_F(PaneTest, OpenShowsTheFolderShown)
{
    QStringList opened;
    m_pane->setFolderOpener([&](const QString &folder) {
        opened.append(folder);
        return folder.endsWith(QStringLiteral("bad")) ? ServiceResult::failure("no file manager")
                                                      : ServiceResult::success();
    });
    m_host->shownFolder = m_dir.path();
    click("cmdOpen");
    EXPECT_EQ(opened, QStringList{m_dir.path()});
    m_host->shownFolder = m_dir.filePath(QStringLiteral("bad"));
    ModalAnswerer answerer({QMessageBox::Ok});
    click("cmdOpen");
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("no file manager")));
}
