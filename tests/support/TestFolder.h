#pragma once

// A real, temporary folder whose entries are byte names; each file holds a
// text that tells it apart, so a test can see which file ended up under which
// name.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

// The bytes of the file at `path`, or "<missing>".
inline QByteArray fileContents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

// name -> content; "<folder>" stands for a folder.
using Listing = std::map<QByteArray, QByteArray>;

class TestFolder
{
public:
    // `base` puts the folder on another file system (e.g. "/dev/shm").
    explicit TestFolder(const QString &base = QString())
        : m_dir(base.isEmpty() ? QTemporaryDir() : QTemporaryDir(base + "/lorvane-XXXXXX"))
    {}
    // QTemporaryDir cannot remove names that are not valid in the locale's
    // encoding; clear the folder byte-exactly first.
    ~TestFolder()
    {
        ::nftw(
            path().constData(),
            [](const char *name, const struct stat *, int, FTW *level) {
                return level->level > 0 ? ::remove(name) : 0;
            },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    QByteArray path() const { return QFile::encodeName(m_dir.path()); }
    QString pathText() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QByteArray pathOf(const QByteArray &name) const { return path() + '/' + name; }

    void write(const QByteArray &name, const QByteArray &content) const
    {
        const int fd = ::open(pathOf(name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0) << name.constData() << ": " << std::strerror(errno);
        ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
        ::close(fd);
    }
    void makeFolder(const QByteArray &name) const
    {
        ASSERT_EQ(::mkdir(pathOf(name).constData(), 0755), 0) << name.constData();
    }
    // Writes every file of `files`; "<folder>" makes a folder.
    void create(const Listing &files) const
    {
        for (const auto &[name, content] : files) {
            if (content == "<folder>")
                makeFolder(name);
            else
                write(name, content);
        }
    }
    Listing listing() const { return listFolder(path()); }

    // Every entry of `path` but "." and "..", with its content.
    static Listing listFolder(const QByteArray &path)
    {
        Listing result;
        DIR *dir = ::opendir(path.constData());
        if (!dir)
            return result;
        while (dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            result[name] = contentOf(::dirfd(dir), name);
        }
        ::closedir(dir);
        return result;
    }

private:
    static QByteArray contentOf(int dirFd, const QByteArray &name)
    {
        struct stat info
        {};
        if (::fstatat(dirFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(info.st_mode))
            return "<folder>";
        const int fd = ::openat(dirFd, name.constData(), O_RDONLY);
        if (fd < 0)
            return "<unreadable>";
        QByteArray content(static_cast<qsizetype>(info.st_size), '\0');
        const auto got = ::read(fd, content.data(), size_t(content.size()));
        ::close(fd);
        content.truncate(got < 0 ? 0 : got);
        return content;
    }

    QTemporaryDir m_dir;
};
