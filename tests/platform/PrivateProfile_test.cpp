#include "PrivateProfile.h"

#include "DosAttributes.h"
#include "TestFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace lorvane;

namespace {

QByteArray edit(const QByteArray &original, const char *section, const char *key, const char *value)
{
    return withProfileString(original, QString::fromUtf8(section), QString::fromUtf8(key),
                             QString::fromUtf8(value), LineEnding::CrLf)
        .value_or("<refused>");
}

} // namespace

TEST(PrivateProfileText, KeysReplacedInPlaceAndEverythingElseKept)
{
    struct Row
    {
        const char *what;
        QByteArray before;
        const char *section;
        const char *key;
        const char *value;
        QByteArray after;
    };
    const Row rows[] = {
        {"new file", "", ".ShellClassInfo", "IconFile", "folder.ico",
         "[.ShellClassInfo]\r\nIconFile=folder.ico\r\n"},
        {"value replaced in place", "[.ShellClassInfo]\r\nIconFile=old.ico\r\nIconIndex=3\r\n",
         ".ShellClassInfo", "IconFile", "new.ico",
         "[.ShellClassInfo]\r\nIconFile=new.ico\r\nIconIndex=3\r\n"},
        {"names match without case and spaces", "[.shellclassinfo]\r\n  iconfile = old.ico\r\n",
         ".ShellClassInfo", "IconFile", "n.ico", "[.shellclassinfo]\r\nIconFile=n.ico\r\n"},
        {"key appended after the section's last line, blank lines stay",
         "[.ShellClassInfo]\r\nA=1\r\n\r\n[Other]\r\nIconFile=x\r\n", ".ShellClassInfo", "IconFile",
         "y", "[.ShellClassInfo]\r\nA=1\r\nIconFile=y\r\n\r\n[Other]\r\nIconFile=x\r\n"},
        {"section appended, last line without ending completed", "[Other]\r\nK=v",
         ".ShellClassInfo", "IconIndex", "0",
         "[Other]\r\nK=v\r\n[.ShellClassInfo]\r\nIconIndex=0\r\n"},
        {"file's own line ending used", "[A]\nK=v\n", "B", "X", "1", "[A]\nK=v\n[B]\nX=1\n"},
        {"comments and odd bytes kept", "; c\xe9\r\n[S]\r\n;K=old\r\nK=old\r\n\xff\xfe\r\n", "S",
         "K", "new", "; c\xe9\r\n[S]\r\n;K=old\r\nK=new\r\n\xff\xfe\r\n"},
        {"only the first of two equal keys", "[S]\r\nK=1\r\nK=2\r\n", "S", "K", "3",
         "[S]\r\nK=3\r\nK=2\r\n"},
        {"empty value", "[S]\r\nK=1\r\n", "S", "K", "", "[S]\r\nK=\r\n"},
        {"value may hold = and %", "", "S", "OriginalIcon", "%=x", "[S]\r\nOriginalIcon=%=x\r\n"},
        {"key in a later section of the same name is not the first's", "[S]\r\n[T]\r\nK=1\r\n", "S",
         "K", "2", "[S]\r\nK=2\r\n[T]\r\nK=1\r\n"},
        {"line break in the value", "", "S", "K", "a\r\nB=1", "<refused>"},
        {"line feed in the key", "", "S", "K\nX", "1", "<refused>"},
        {"line break in the section", "", "S]\n[T", "K", "1", "<refused>"},
        {"= in the key", "", "S", "K=1", "2", "<refused>"},
        {"empty key", "", "S", " ", "2", "<refused>"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(edit(row.before, row.section, row.key, row.value), row.after);
    }
}

TEST(PrivateProfileFile, CreatedThenRewrittenKeepingOtherKeysAndSections)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("desktop.ini");
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "IconFile", "a.ico", ini).ok());
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "IconIndex", "0", ini).ok());
    EXPECT_EQ(fileContents(ini), "[.ShellClassInfo]\r\nIconFile=a.ico\r\nIconIndex=0\r\n");

    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("[ViewState]\r\nMode=4\r\n");
    f.close();
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "IconFile", "b.ico", ini).ok());
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "InfoTip", "t", ini).ok());
    EXPECT_EQ(fileContents(ini),
              "[.ShellClassInfo]\r\nIconFile=b.ico\r\nIconIndex=0\r\nInfoTip=t\r\n"
              "[ViewState]\r\nMode=4\r\n");
}

TEST(PrivateProfileFile, RefusalsAreReportedAndTheFileUntouched)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("desktop.ini");
    const ServiceResult injected =
        writePrivateProfileString(".ShellClassInfo", "IconFile", "x.ico\r\nIconIndex=9", ini);
    EXPECT_FALSE(injected.ok());
    EXPECT_FALSE(QFile::exists(ini));

    const ServiceResult noFolder =
        writePrivateProfileString("S", "K", "v", dir.filePath("missing/desktop.ini"));
    EXPECT_FALSE(noFolder.ok());

    ASSERT_TRUE(writePrivateProfileString("S", "K", "v", ini).ok());
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner));
    if (::geteuid() != 0) {
        EXPECT_FALSE(writePrivateProfileString("S", "K", "w", ini).ok());
        EXPECT_EQ(fileContents(ini), "[S]\r\nK=v\r\n");
    }
}

TEST(PrivateProfileFile, PermissionsAndStoredAttributesSurviveTheRewrite)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("desktop.ini");
    ASSERT_TRUE(writePrivateProfileString("S", "K", "1", ini).ok());
    ASSERT_TRUE(QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner));
    const bool attributes = writeDosAttributes(ini, dos::Hidden | dos::System).ok();
    ASSERT_TRUE(writePrivateProfileString("S", "K", "2", ini).ok());
    EXPECT_EQ(fileContents(ini), "[S]\r\nK=2\r\n");
    EXPECT_EQ(QFile::permissions(ini),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    if (attributes) {
        EXPECT_EQ(readDosAttributes(ini).word, dos::Hidden | dos::System);
    }
}

TEST(PrivateProfileFile, Utf16AndByteOrderMarkedFilesKeepTheirForm)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("desktop.ini");
    const QString before = QStringLiteral("[.ShellClassInfo]\r\nLocalizedResourceName=صور\r\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(before.utf16()), before.size() * 2);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(utf16);
    f.close();
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "IconFile", "a.ico", ini).ok());
    const QByteArray after = fileContents(ini);
    ASSERT_TRUE(after.startsWith("\xFF\xFE"));
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t *>(after.constData() + 2),
                                 (after.size() - 2) / 2),
              before + QStringLiteral("IconFile=a.ico\r\n"));

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("\xEF\xBB\xBF[.ShellClassInfo]\r\nIconFile=old.ico\r\n");
    f.close();
    ASSERT_TRUE(writePrivateProfileString(".ShellClassInfo", "IconFile", "b.ico", ini).ok());
    EXPECT_EQ(fileContents(ini), "\xEF\xBB\xBF[.ShellClassInfo]\r\nIconFile=b.ico\r\n");
}
