#include "BitmapFile.h"
#include "FileTypeInfo.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lorvane;

namespace {

bool hasVisiblePixels(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

} // namespace

TEST(FileTypeInfo, FilesAndFoldersHaveBothIconsAndATypeName)
{
    QTemporaryDir dir;
    struct Row
    {
        const char *name;
        const char *contents; // nullptr: a folder
    };
    const Row rows[] = {
        {"notes.txt", "plain text"},
        {"page.html", "<html><body></body></html>"},
        {"no-extension", "\x7f"
                         "ELF"},
        {"sub", nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QString::fromUtf8(row.name));
        if (row.contents) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(row.contents);
        } else {
            ASSERT_TRUE(QDir().mkdir(path));
        }
        const FileTypeInfo info = fileTypeInfo(path);
        ASSERT_TRUE(info.result.ok()) << info.result.reason().toStdString();
        EXPECT_EQ(info.largeIcon.size(), QSize(32, 32));
        EXPECT_EQ(info.smallIcon.size(), QSize(16, 16));
        EXPECT_TRUE(hasVisiblePixels(info.largeIcon));
        EXPECT_TRUE(hasVisiblePixels(info.smallIcon));
        EXPECT_FALSE(info.typeName.isEmpty());
    }
    // The folder's type name is not a file's.
    EXPECT_NE(fileTypeInfo(dir.filePath("sub")).typeName,
              fileTypeInfo(dir.filePath("notes.txt")).typeName);
}

TEST(FileTypeInfo, MissingPathFails)
{
    QTemporaryDir dir;
    const FileTypeInfo info = fileTypeInfo(dir.filePath("gone.txt"));
    EXPECT_FALSE(info.result.ok());
    EXPECT_TRUE(info.largeIcon.isNull());
}

TEST(FileTypeInfo, BuiltInIconsDifferForFilesAndFolders)
{
    const QImage page = builtInIcon(false, 32);
    const QImage folder = builtInIcon(true, 32);
    EXPECT_TRUE(hasVisiblePixels(page));
    EXPECT_TRUE(hasVisiblePixels(folder));
    EXPECT_NE(page, folder);
    // The page is white in its middle, the folder is not.
    EXPECT_EQ(page.pixel(14, 20), qRgb(255, 255, 255));
    EXPECT_NE(folder.pixel(16, 20), qRgb(255, 255, 255));
}

TEST(BitmapFile, SavesAWindowsBitmapOfTheImage)
{
    QTemporaryDir dir;
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(3, 5, qRgb(250, 0, 0));
    const QString path = dir.filePath("icon.bmp");
    ASSERT_TRUE(saveBitmap(image, path).ok());

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(30);
    EXPECT_TRUE(head.startsWith("BM"));
    EXPECT_EQ(quint8(head[28]), 24); // bits per pixel
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "bmp");
    const QImage back = reader.read();
    EXPECT_EQ(back.size(), QSize(32, 32));
    EXPECT_EQ(back.pixel(3, 5), qRgb(250, 0, 0));
    EXPECT_EQ(back.pixel(20, 20), qRgb(10, 200, 30));
}

TEST(BitmapFile, FailuresAreReported)
{
    QTemporaryDir dir;
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    EXPECT_FALSE(saveBitmap(image, dir.filePath("no/such/folder/icon.bmp")).ok());
    EXPECT_FALSE(saveBitmap(QImage(), dir.filePath("empty.bmp")).ok());
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.bmp")));
}
