#include "FolderIcon.h"

#include "DosAttributes.h"
#include "FolderHandle.h"
#include "PrivateProfile.h"
#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/xattr.h>
#include <unistd.h>

using namespace lorvane;

namespace {

void write(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(FolderIcon, CopyNeverOverwritesADifferentFile)
{
    QTemporaryDir icons;
    QTemporaryDir folder;
    const FolderHandle handle(folder.path());
    const QString source = icons.filePath("folder.ico");
    write(source, "ICON-A");
    const QString target = folder.filePath("folder.ico");

    ASSERT_TRUE(copyIconFile(source, handle, "folder.ico").ok());
    EXPECT_EQ(fileContents(target), "ICON-A");
    // Running again with the same icon finds its own copy.
    EXPECT_TRUE(copyIconFile(source, handle, "folder.ico").ok());
    // The icon chosen from the target folder itself is already in place.
    EXPECT_TRUE(copyIconFile(target, handle, "folder.ico").ok());
    EXPECT_EQ(fileContents(target), "ICON-A");

    write(source, "ICON-B");
    const ServiceResult clash = copyIconFile(source, handle, "folder.ico");
    EXPECT_FALSE(clash.ok());
    EXPECT_EQ(fileContents(target), "ICON-A");

    EXPECT_FALSE(copyIconFile(icons.filePath("none.ico"), handle, "none.ico").ok());
    EXPECT_FALSE(FolderHandle(folder.filePath("no/such")).status().ok());
}

// In a folder others can write to, someone may put a link (or a second
// name) of a file of the person's under the name about to be written.
TEST(FolderIcon, PlantedLinksAreRefusedAndNothingIsWrittenThroughThem)
{
    QTemporaryDir folder;
    QTemporaryDir other;
    const QString icon = other.filePath("folder.ico");
    write(icon, "ICON");
    const QString victim = other.filePath("victim");
    const QByteArray secret = "[.ShellClassInfo]\nmine\n";
    const FolderHandle handle(folder.path());
    struct Row
    {
        const char *name;
        std::function<ServiceResult()> write;
    };
    const Row rows[] = {
        {"desktop.ini",
         [&] {
             return writePrivateProfileString(".ShellClassInfo", "IconFile", "folder.ico", handle,
                                              "desktop.ini");
         }},
        {"desktop.ini",
         [&] {
             return writePrivateProfileString(".ShellClassInfo", "IconFile", "folder.ico",
                                              folder.filePath("desktop.ini"));
         }},
        {"desktop.ini", [&] { return markHiddenAndSystem(handle, "desktop.ini"); }},
        {".directory", [&] { return writeDirectoryIcon(handle, "/x/a.ico"); }},
        {"folder.ico", [&] { return copyIconFile(icon, handle, "folder.ico"); }},
    };
    for (const Row &row : rows) {
        for (const bool hard : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (hard ? " hard link" : " symbolic link"));
            const QString planted = folder.filePath(row.name);
            write(victim, secret);
            ASSERT_EQ(hard ? ::link(QFile::encodeName(victim), QFile::encodeName(planted))
                           : ::symlink(QFile::encodeName(victim), QFile::encodeName(planted)),
                      0);
            const ServiceResult written = row.write();
            EXPECT_FALSE(written.ok());
            EXPECT_TRUE(written.reason().contains(planted)) << written.reason().toStdString();
            EXPECT_EQ(fileContents(victim), secret);
            EXPECT_EQ(::getxattr(QFile::encodeName(victim), "user.DOSATTRIB", nullptr, 0), -1);
            EXPECT_EQ(QFileInfo(planted).isSymLink(), !hard);
            ASSERT_TRUE(QFile::remove(planted));
        }
    }
}

TEST(FolderIcon, DirectoryEntryKeepsTheRestOfTheFile)
{
    QTemporaryDir folder;
    const FolderHandle handle(folder.path());
    ASSERT_TRUE(writeDirectoryIcon(handle, "/x/a.ico").ok());
    EXPECT_EQ(fileContents(folder.filePath(".directory")), "[Desktop Entry]\nIcon=/x/a.ico\n");

    write(folder.filePath(".directory"), "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=old\n"
                                         "Icon[de]=alt\n");
    ASSERT_TRUE(writeDirectoryIcon(handle, "/x/b.ico").ok());
    EXPECT_EQ(fileContents(folder.filePath(".directory")),
              "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=/x/b.ico\nIcon[de]=alt\n");
    EXPECT_FALSE(writeDirectoryIcon(handle, "/x/\nExec=evil").ok());
}

TEST(FolderIcon, FolderMarkedSystemNotReadOnly)
{
    QTemporaryDir folder;
    const ServiceResult marked = markFolderCustomized(FolderHandle(folder.path()));
    if (!marked.ok())
        GTEST_SKIP() << "user extended attributes are not supported here";
    EXPECT_EQ(readDosAttributes(folder.path()).word, dos::Directory | dos::System);
    EXPECT_TRUE(QFileInfo(folder.path()).isWritable());
}
