#include "FolderIcon.h"

#include "DosAttributes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lorvane;

namespace {

void write(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

} // namespace

TEST(FolderIcon, CopyNeverOverwritesADifferentFile)
{
    QTemporaryDir icons;
    QTemporaryDir folder;
    const QString source = icons.filePath("folder.ico");
    write(source, "ICON-A");
    const QString target = folder.filePath("folder.ico");

    ASSERT_TRUE(copyIconFile(source, target).ok());
    EXPECT_EQ(contents(target), "ICON-A");
    // Running again with the same icon finds its own copy.
    EXPECT_TRUE(copyIconFile(source, target).ok());
    // The icon chosen from the target folder itself is already in place.
    EXPECT_TRUE(copyIconFile(target, target).ok());
    EXPECT_EQ(contents(target), "ICON-A");

    write(source, "ICON-B");
    const ServiceResult clash = copyIconFile(source, target);
    EXPECT_FALSE(clash.ok());
    EXPECT_EQ(contents(target), "ICON-A");

    EXPECT_FALSE(copyIconFile(icons.filePath("none.ico"), folder.filePath("none.ico")).ok());
    EXPECT_FALSE(copyIconFile(source, folder.filePath("no/such/dir.ico")).ok());
}

TEST(FolderIcon, DirectoryEntryKeepsTheRestOfTheFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(writeDirectoryIcon(folder.path(), "/x/a.ico").ok());
    EXPECT_EQ(contents(folder.filePath(".directory")), "[Desktop Entry]\nIcon=/x/a.ico\n");

    write(folder.filePath(".directory"), "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=old\n"
                                         "Icon[de]=alt\n");
    ASSERT_TRUE(writeDirectoryIcon(folder.path(), "/x/b.ico").ok());
    EXPECT_EQ(contents(folder.filePath(".directory")),
              "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=/x/b.ico\nIcon[de]=alt\n");
    EXPECT_FALSE(writeDirectoryIcon(folder.path(), "/x/\nExec=evil").ok());
}

TEST(FolderIcon, FolderMarkedSystemNotReadOnly)
{
    QTemporaryDir folder;
    const ServiceResult marked = markFolderCustomized(folder.path());
    if (!marked.ok())
        GTEST_SKIP() << "user extended attributes are not supported here";
    EXPECT_EQ(readDosAttributes(folder.path()).word, dos::Directory | dos::System);
    EXPECT_TRUE(QFileInfo(folder.path()).isWritable());
}
