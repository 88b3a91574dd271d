#pragma once

// Folders of many files for the benchmarks, made on tmpfs and removed
// byte-exactly, and the bare readdir loop that is the floor of every listing.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <random>
#include <unistd.h>

namespace benchsupport {

// Names as cameras, scanners and people make them, in a random order of
// creation so that a listing has to sort. Returns how many were made.
inline int fillMixed(const QString &folder, int files, unsigned seed)
{
    QDir().mkpath(folder);
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_PATH | O_DIRECTORY);
    static const char *const stems[] = {"IMG_", "holiday ", "Scan-", "track", "report_v"};
    static const char *const exts[] = {".JPG", ".jpg", ".png", ".txt", ".mp3", ""};
    std::mt19937 random(seed);
    int made = 0;
    for (int i = 0; i < files; ++i) {
        const QByteArray name =
            QByteArray(stems[random() % 5]) + QByteArray::number(i) + exts[random() % 6];
        const int fd = ::openat(dirFd, name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            ++made;
        }
    }
    ::close(dirFd);
    return made;
}

// A fresh, uniquely named folder under `base` (its name starting with `stem`)
// holding an empty file for each name nameOf(0) .. nameOf(files - 1). Empty
// when the folder cannot be made.
template <typename NameOf>
QString makeFolderOf(const QString &base, const char *stem, int files, NameOf nameOf)
{
    QByteArray path = QFile::encodeName(base) + '/' + stem + "-XXXXXX";
    if (!::mkdtemp(path.data()))
        return {};
    const int dirFd = ::open(path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < files; ++i) {
        const QByteArray name = nameOf(i);
        const int fd = ::openat(dirFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    ::close(dirFd);
    return QFile::decodeName(path);
}

// The entries a bare readdir loop sees in `folder`, "." and ".." included.
inline int readdirLoop(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int seen = 0;
    while (const dirent *entry = ::readdir(dir)) {
        benchmark::DoNotOptimize(entry->d_name);
        ++seen;
    }
    ::closedir(dir);
    return seen;
}

// Removes `path` and everything in it, whatever bytes the names are made of.
inline void removeFolder(const QString &path)
{
    ::nftw(
        QFile::encodeName(path).constData(),
        [](const char *name, const struct stat *, int, FTW *) { return ::remove(name); }, 64,
        FTW_DEPTH | FTW_PHYS);
}

} // namespace benchsupport
