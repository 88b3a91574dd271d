#include "RenameJournal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace lorvane {

namespace {

const QByteArray Magic = "lorvane-rename-journal 1";
const QByteArray PlanEnd = "plan-end";
const QString Suffix = QStringLiteral(".journal");
const QString Unfinished = QStringLiteral(".new");

// Progress reaches the disk at least this often; a kill loses nothing that
// was written, only a power cut can lose what was not yet synced, and the
// files are found by their identity in any case.
constexpr std::chrono::milliseconds SyncInterval(500);

std::int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Names are arbitrary bytes; in the journal each is one word of printable
// characters, so a line break in a name cannot break a line. Only what would
// break a word is escaped: a plan of 100,000 names is written in a blink.
void appendWord(QByteArray &out, const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        out += '%';
        return;
    }
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == '%' || u == 0x7f) {
            out += '%';
            out += Hex[u >> 4];
            out += Hex[u & 0xf];
        } else {
            out += c;
        }
    }
}

QByteArray word(const QByteArray &bytes)
{
    QByteArray out;
    appendWord(out, bytes);
    return out;
}

QByteArray unword(const QByteArray &text)
{
    return text == "%" ? QByteArray() : QByteArray::fromPercentEncoding(text);
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

QByteArray planText(const RenameJournal::Plan &plan)
{
    QByteArray text;
    text.reserve(qsizetype(plan.pairs.size()) * 48 + 256);
    text += Magic + '\n';
    text += plan.work == RenameJournal::Work::Rename ? "work rename\n" : "work restore\n";
    text += plan.direction == RenameJournal::Direction::Forward ? "direction forward\n"
                                                                : "direction back\n";
    text += "folder " + word(plan.folder) + '\n';
    for (const QByteArray &prefix : plan.temporaryPrefixes)
        text += "temporary " + word(prefix) + '\n';
    text += "files " + QByteArray::number(qulonglong(plan.pairs.size())) + '\n';
    char number[24];
    const auto appendNumber = [&](std::uint64_t value) {
        const auto end = std::to_chars(number, number + sizeof number, value).ptr;
        text.append(number, end - number);
    };
    for (const RenamePair &pair : plan.pairs) {
        appendWord(text, pair.from);
        text += ' ';
        appendWord(text, pair.to);
        text += ' ';
        appendNumber(pair.identity.device);
        text += ' ';
        appendNumber(pair.identity.inode);
        text += ' ';
        appendNumber(pair.identity.type);
        text += '\n';
    }
    for (const auto &[entry, temporary] : plan.parked)
        text += "p " + QByteArray::number(entry) + ' ' + word(temporary) + '\n';
    text += PlanEnd + '\n';
    return text;
}

bool parsePlan(const QByteArray &text, RenameJournal::Plan &plan)
{
    const QList<QByteArray> lines = text.split('\n');
    qsizetype at = 0;
    const auto next = [&]() -> QByteArray {
        return at < lines.size() ? lines[at++] : QByteArray();
    };
    if (next() != Magic)
        return false;
    qulonglong files = 0;
    for (;;) {
        const QByteArray line = next();
        const qsizetype space = line.indexOf(' ');
        if (space < 0)
            return false;
        const QByteArray key = line.left(space);
        const QByteArray value = line.mid(space + 1);
        if (key == "work")
            plan.work =
                value == "restore" ? RenameJournal::Work::Restore : RenameJournal::Work::Rename;
        else if (key == "direction")
            plan.direction = value == "back" ? RenameJournal::Direction::Back
                                             : RenameJournal::Direction::Forward;
        else if (key == "folder")
            plan.folder = unword(value);
        else if (key == "temporary")
            plan.temporaryPrefixes.push_back(unword(value));
        else if (key == "files") {
            bool ok = false;
            files = value.toULongLong(&ok);
            if (!ok)
                return false;
            break;
        }
    }
    plan.pairs.reserve(files);
    for (qulonglong i = 0; i < files; ++i) {
        const QList<QByteArray> fields = next().split(' ');
        if (fields.size() != 5)
            return false;
        RenamePair pair{unword(fields[0]), unword(fields[1]), {}};
        pair.identity.device = fields[2].toULongLong();
        pair.identity.inode = fields[3].toULongLong();
        pair.identity.type = std::uint8_t(fields[4].toUInt());
        plan.pairs.push_back(std::move(pair));
    }
    // Progress lines follow the plan; the last one may be cut short.
    bool ended = false;
    while (at < lines.size()) {
        const QList<QByteArray> fields = next().split(' ');
        if (fields.size() == 1 && fields[0] == PlanEnd) {
            ended = true;
            continue;
        }
        if (fields.size() == 3 && fields[0] == "p") {
            bool ok = false;
            const std::uint32_t entry = fields[1].toUInt(&ok);
            if (ok && entry < plan.pairs.size())
                plan.parked[entry] = unword(fields[2]);
        }
    }
    return ended;
}

} // namespace

QString RenameJournal::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/lorvane");
}

RenameJournal::~RenameJournal()
{
    close();
}

void RenameJournal::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

QString RenameJournal::begin(const QString &journalFolder, const Plan &plan)
{
    if (!QDir().mkpath(journalFolder))
        return journalFolder;
    QString path = m_path;
    if (path.isEmpty()) {
        path = journalFolder +
               QStringLiteral("/rename-%1-%2")
                   .arg(::getpid())
                   .arg(QDateTime::currentMSecsSinceEpoch()) +
               Suffix;
    }
    const QString unfinished = path + Unfinished;
    const QByteArray unfinishedBytes = QFile::encodeName(unfinished);
    const int fd = ::open(unfinishedBytes.constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return unfinished + QStringLiteral(": ") + systemText(errno);
    int error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    if (error == 0 && !writeAll(fd, planText(plan)))
        error = errno;
    if (error == 0 && ::fdatasync(fd) != 0)
        error = errno;
    if (error == 0 &&
        ::rename(unfinishedBytes.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(unfinishedBytes.constData());
        ::close(fd);
        return unfinished + QStringLiteral(": ") + systemText(error);
    }
    syncFolder(journalFolder);
    // A journal taken over is replaced by now; its lock goes with it.
    close();
    m_fd = fd;
    m_path = path;
    m_lastSync = nowMs();
    return {};
}

void RenameJournal::record(std::size_t settled, const std::vector<BatchRename::Parking> &parkings,
                           const std::vector<std::uint32_t> &entryOf, bool sync)
{
    if (m_fd < 0)
        return;
    QByteArray text;
    for (const auto &[batchEntry, temporary] : parkings) {
        const std::uint32_t entry = entryOf.empty() ? batchEntry : entryOf[batchEntry];
        text += "p " + QByteArray::number(entry) + ' ';
        appendWord(text, temporary);
        text += '\n';
    }
    text += "settled " + QByteArray::number(qulonglong(settled)) + '\n';
    (void)writeAll(m_fd, text);
    const std::int64_t now = nowMs();
    if (sync || now - m_lastSync >= SyncInterval.count()) {
        (void)::fdatasync(m_fd);
        m_lastSync = now;
    }
}

void RenameJournal::remove()
{
    if (m_path.isEmpty())
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    close();
    syncFolder(QFileInfo(m_path).absolutePath());
    m_path.clear();
}

QStringList RenameJournal::leftBehind(const QString &journalFolder)
{
    QStringList found;
    const QDir folder(journalFolder);
    const QStringList names =
        folder.entryList({QStringLiteral("*") + Suffix, QStringLiteral("*") + Suffix + Unfinished},
                         QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        const QByteArray bytes = QFile::encodeName(path);
        const int fd = ::open(bytes.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            continue;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (free && name.endsWith(Unfinished)) {
            // A plan that was never complete: its batch renamed nothing.
            ::unlink(bytes.constData());
        } else if (free) {
            found << path;
        }
        ::close(fd);
    }
    return found;
}

QString RenameJournal::open(const QString &path, Plan &plan)
{
    close();
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return path + QStringLiteral(": ") + systemText(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return path + QStringLiteral(": ") + systemText(error);
    }
    QByteArray text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, n);
    }
    m_fd = fd;
    m_path = path;
    plan = {};
    if (!parsePlan(text, plan))
        return path;
    return {};
}

std::vector<FilePlace> locateFiles(const RenameJournal::Plan &plan, int &error)
{
    error = 0;
    std::vector<FilePlace> places(plan.pairs.size());
    const int dirFd = ::open(plan.folder.isEmpty() ? "." : plan.folder.constData(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        error = errno;
        return places;
    }
    // The exact spellings present: a file system that ignores case would
    // otherwise show one file under both spellings of a case-only rename.
    QSet<QByteArray> present;
    std::unordered_map<std::uint64_t, QByteArray> temporaryByInode;
    DIR *dir = ::fdopendir(::dup(dirFd));
    while (dir != nullptr) {
        const dirent *entry = ::readdir(dir);
        if (entry == nullptr)
            break;
        const QByteArray name(entry->d_name);
        present.insert(name);
        for (const QByteArray &prefix : plan.temporaryPrefixes) {
            FileIdentity identity;
            if (name.startsWith(prefix) && identify(dirFd, entry->d_name, identity) == 0)
                temporaryByInode[identity.inode] = name;
        }
    }
    if (dir != nullptr)
        ::closedir(dir);

    // A folder found again may lie on a device numbered anew since.
    const auto holds = [&](const QByteArray &name, FileIdentity wanted) {
        wanted.device = 0;
        FileIdentity actual;
        return present.contains(name) && identify(dirFd, name.constData(), actual) == 0 &&
               wanted.admits(actual);
    };
    for (std::size_t e = 0; e < plan.pairs.size(); ++e) {
        const RenamePair &pair = plan.pairs[e];
        FilePlace &place = places[e];
        const bool atOld = holds(pair.from, pair.identity);
        const bool atNew = holds(pair.to, pair.identity);
        const auto byInode = pair.identity.inode != 0 ? temporaryByInode.find(pair.identity.inode)
                                                      : temporaryByInode.end();
        if ((atOld || atNew) && byInode != temporaryByInode.end() &&
            holds(byInode->second, pair.identity))
            place.surplus = byInode->second;
        if (atOld && atNew) {
            // Two names of one file only when the file is known by number;
            // without it, two files of the right kind cannot be told apart.
            place.where =
                pair.identity.inode != 0 ? FilePlace::Where::Both : FilePlace::Where::Missing;
            continue;
        }
        if (atOld || atNew) {
            place.where = atOld ? FilePlace::Where::Old : FilePlace::Where::New;
            continue;
        }
        const auto parked = plan.parked.find(std::uint32_t(e));
        if (parked != plan.parked.end() && holds(parked->second, pair.identity)) {
            place = {FilePlace::Where::Temporary, parked->second};
            continue;
        }
        if (byInode != temporaryByInode.end() && holds(byInode->second, pair.identity))
            place = {FilePlace::Where::Temporary, byInode->second};
    }
    ::close(dirFd);
    return places;
}

} // namespace lorvane
