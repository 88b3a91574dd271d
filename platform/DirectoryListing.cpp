#include "DirectoryListing.h"

#include "FileNameCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

namespace {

// Iterative wildcard match with one back-track point: linear for patterns with
// a single "*", never exponential.
bool wildcardMatch(QStringView pattern, QStringView text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

inline char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

inline char16_t fold(char16_t c)
{
    if (c < 0x80)
        return foldAscii(c);
    if (QChar::isSurrogate(c))
        return c;
    return QChar::toCaseFolded(c);
}

inline bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Sort keys whose plain code-unit order is the primary order of
// naturalCompare: letters folded, and each run of digits written as "0", its
// count of significant digits plus one, and those digits. A digit run thus
// still sorts against other characters as any digit does (digits are
// contiguous, so "0" stands for all of them), and runs compare by length, then
// digit by digit. Building every key once is far cheaper than folding during
// each comparison of the sort. The keys live in one pool; the first sixteen
// code units of each are also packed into four integers, which settle nearly
// every comparison without a look into the pool (a key never holds 0, so the
// zero padding ends it). Eight units were too few for camera names: "IMG_"
// and a run of six digits already take ten.
constexpr quint32 HeadWords = 4;
constexpr quint32 HeadUnits = 4 * HeadWords;

struct SortKey
{
    std::array<quint64, HeadWords> head{};
    quint32 offset = 0;
    quint32 length = 0;
    quint32 index = 0;
};

template <typename T> using LargeVector = std::vector<T, LargeBlockAllocator<T>>;

// One entry the listing keeps, while the folder is read: where its exact
// bytes lie in the listing's byte buffer, and what it names.
struct Found
{
    quint32 offset = 0;
    quint32 length = 0;
    quint64 identity = 0;
};

// Writes the sort key of the characters [p, p + n) at `out` and returns its
// end; `Unit` is a byte of a name that is all ASCII, or a UTF-16 code unit. A
// key is at most 2 * n + 1 units long: a run of digits adds two units at most
// and runs lie at least one unit apart.
template <typename Unit> char16_t *writeKey(char16_t *out, const Unit *p, qsizetype n)
{
    for (qsizetype i = 0; i < n;) {
        const auto c = char16_t(static_cast<std::make_unsigned_t<Unit>>(p[i]));
        if (!isDigit(c)) {
            *out++ = fold(c);
            ++i;
            continue;
        }
        while (i < n && p[i] == '0')
            ++i;
        qsizetype end = i;
        while (end < n && isDigit(char16_t(p[end])))
            ++end;
        *out++ = u'0';
        *out++ = char16_t(qMin<qsizetype>(end - i + 1, 0xFFFF));
        for (; i < end; ++i)
            *out++ = char16_t(p[i]);
    }
    return out;
}

int naturalCompareViews(QStringView a, QStringView b);

// The entries in natural order, each with its decoded name. The names are
// kept as bytes until they are sorted, and the keys are made from the bytes
// straight away where a name is plain ASCII, as nearly every name is: a
// folder of a million files is then decoded once, into the strings the
// listing hands out, and never into a buffer of its own.
DirEntries sortedEntries(const LargeVector<char> &raw, const LargeVector<Found> &found)
{
    DirEntries entries;
    if (found.empty())
        return entries;
    const auto bytesOf = [&raw](const Found &f) {
        return QByteArrayView(raw.data() + f.offset, f.length);
    };
    // A name decodes to at most one code unit per byte. The pool is not
    // cleared: every unit is written before it is read.
    LargeVector<char16_t> pool(2 * raw.size() + found.size());
    LargeVector<SortKey> keys;
    keys.reserve(found.size());
    char16_t *end = pool.data();
    QString decoded;
    for (size_t i = 0; i < found.size(); ++i) {
        const QByteArrayView bytes = bytesOf(found[i]);
        SortKey key;
        key.offset = quint32(end - pool.data());
        if (isAscii(bytes)) {
            end = writeKey(end, bytes.data(), bytes.size());
        } else {
            decoded.resize(0);
            appendDecodedFileName(decoded, bytes);
            end = writeKey(end, reinterpret_cast<const char16_t *>(decoded.constData()),
                           decoded.size());
        }
        key.length = quint32(end - pool.data()) - key.offset;
        key.index = quint32(i);
        const char16_t *k = pool.data() + key.offset;
        for (quint32 j = 0; j < HeadUnits && j < key.length; ++j)
            key.head[j / 4] |= quint64(k[j]) << (16 * (3 - j % 4));
        keys.push_back(key);
    }
    const char16_t *base = pool.data();
    std::sort(keys.begin(), keys.end(), [&](const SortKey &a, const SortKey &b) {
        for (quint32 w = 0; w < HeadWords; ++w) {
            if (a.head[w] != b.head[w])
                return a.head[w] < b.head[w];
        }
        const quint32 n = qMin(a.length, b.length);
        const char16_t *ka = base + a.offset;
        const char16_t *kb = base + b.offset;
        for (quint32 j = HeadUnits; j < n; ++j) {
            if (ka[j] != kb[j])
                return ka[j] < kb[j];
        }
        if (a.length != b.length)
            return a.length < b.length;
        // Equal but for letter case or leading zeros: rare enough to decode.
        return naturalCompareViews(decodeFileName(bytesOf(found[a.index])),
                                   decodeFileName(bytesOf(found[b.index]))) < 0;
    });
    // Each entry gets its own string: a name shared out of one buffer would
    // look, to QString's growth, as large as the whole buffer, and the first
    // append to it would copy that much. Made in list order, the strings at
    // least tend to lie in memory in the order the list is walked.
    entries.reserve(found.size());
    for (const SortKey &key : keys) {
        const Found &f = found[key.index];
        entries.push_back({decodeFileName(bytesOf(f)), f.identity});
    }
    return entries;
}

} // namespace

NamePattern::NamePattern(const QString &pattern) : m_text(pattern)
{
    const QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (const QString &rawPart : parts) {
        const QString part = rawPart.trimmed();
        if (part.isEmpty())
            continue;
        if (part == u"*" || part == u"*.*") {
            m_everything = true;
            continue;
        }
        const QString folded = part.toCaseFolded();
        const QStringView tail = QStringView(folded).mid(1);
        if (folded.startsWith(u'*') && !tail.contains(u'*') && !tail.contains(u'?'))
            m_globs.push_back({Kind::Suffix, tail.toString()});
        else
            m_globs.push_back({Kind::Glob, folded});
    }
    if (parts.isEmpty())
        m_everything = true;
}

bool NamePattern::matches(const QString &name) const
{
    if (m_everything)
        return true;
    QString folded;
    for (const Glob &glob : m_globs) {
        if (glob.kind == Kind::Suffix) {
            if (name.endsWith(glob.text, Qt::CaseInsensitive))
                return true;
            continue;
        }
        if (folded.isNull())
            folded = name.toCaseFolded();
        if (wildcardMatch(glob.text, folded))
            return true;
    }
    return false;
}

namespace {

int naturalCompareViews(QStringView a, QStringView b)
{
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    const qsizetype na = a.size();
    const qsizetype nb = b.size();
    qsizetype i = 0;
    qsizetype j = 0;
    int tieBreak = 0; // first difference in case or in leading zeros
    while (i < na && j < nb) {
        if (isDigit(pa[i]) && isDigit(pb[j])) {
            qsizetype zi = i;
            qsizetype zj = j;
            while (zi < na && pa[zi] == u'0')
                ++zi;
            while (zj < nb && pb[zj] == u'0')
                ++zj;
            qsizetype ei = zi;
            qsizetype ej = zj;
            while (ei < na && isDigit(pa[ei]))
                ++ei;
            while (ej < nb && isDigit(pb[ej]))
                ++ej;
            if (ei - zi != ej - zj)
                return (ei - zi) < (ej - zj) ? -1 : 1;
            for (qsizetype k = 0; k < ei - zi; ++k) {
                if (pa[zi + k] != pb[zj + k])
                    return pa[zi + k] < pb[zj + k] ? -1 : 1;
            }
            if (tieBreak == 0 && (zi - i) != (zj - j))
                tieBreak = (zi - i) < (zj - j) ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const char16_t ca = pa[i];
        const char16_t cb = pb[j];
        if (ca != cb) {
            const char16_t fa = fold(ca);
            const char16_t fb = fold(cb);
            if (fa != fb)
                return fa < fb ? -1 : 1;
            if (tieBreak == 0)
                tieBreak = ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < na)
        return 1;
    if (j < nb)
        return -1;
    return tieBreak;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    return naturalCompareViews(a, b);
}

bool naturalLess(const QString &a, const QString &b)
{
    return naturalCompare(a, b) < 0;
}

DirListing listDirectory(const QByteArray &folder, EntryKind kind, const NamePattern &pattern,
                         Unlisted unlisted)
{
    DirListing result;
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        result.error = errno;
        return result;
    }
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        result.error = errno;
        ::close(fd);
        return result;
    }
    struct stat folderInfo;
    qint64 folderSize = 0;
    if (::fstat(fd, &folderInfo) == 0) {
        result.device = folderInfo.st_dev;
        folderSize = folderInfo.st_size;
    }
    const bool inodesFromEntries = entriesCarryInodes(fd);
    const unsigned char wanted = kind == EntryKind::Files ? DT_REG : DT_DIR;
    const mode_t wantedMode = kind == EntryKind::Files ? S_IFREG : S_IFDIR;
    // A folder's size grows with its entries' names (tmpfs counts 20 bytes an
    // entry, ext4 at least 12), so it is a fair first guess of what the
    // buffers will hold; pages reserved and never written cost nothing.
    const qint64 guess = qBound<qint64>(0, folderSize, qint64(1) << 26);
    LargeVector<char> raw;
    raw.reserve(size_t(guess));
    LargeVector<Found> found;
    found.reserve(size_t(guess / 16));
    const bool keepUnlisted = unlisted == Unlisted::Keep;
    const bool everything = pattern.matchesEverything();
    QString decoded;
    const auto keep = [&result](const char *raw) {
        result.unlisted.append(decodeFileName(QByteArrayView(raw, qsizetype(std::strlen(raw)))));
    };
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.') {
            if (keepUnlisted && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                keep(name);
            continue;
        }
        const unsigned char ownType = entry->d_type;
        unsigned char type = ownType;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            // The link's target decides; a dangling link is neither kind.
            struct stat st;
            if (::fstatat(fd, name, &st, 0) != 0)
                type = DT_UNKNOWN;
            else
                type = (st.st_mode & S_IFMT) == wantedMode ? wanted
                                                           : static_cast<unsigned char>(DT_UNKNOWN);
        }
        if (type != wanted) {
            if (keepUnlisted)
                keep(name);
            continue;
        }
        const QByteArrayView bytes(name, qsizetype(std::strlen(name)));
        if (!everything) {
            decoded.resize(0);
            appendDecodedFileName(decoded, bytes);
            if (!pattern.matches(decoded)) {
                if (keepUnlisted)
                    result.unlisted.append(QString(decoded));
                continue;
            }
        }
        quint64 identity = 0;
        if (inodesFromEntries && ownType != DT_UNKNOWN) {
            identity = DirEntry::pack(entry->d_ino, ownType);
        } else {
            struct stat st;
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                identity = DirEntry::pack(st.st_ino, IFTODT(st.st_mode));
        }
        found.push_back({quint32(raw.size()), quint32(bytes.size()), identity});
        raw.resize(raw.size() + size_t(bytes.size()));
        std::memcpy(raw.data() + raw.size() - bytes.size(), bytes.data(), size_t(bytes.size()));
    }
    ::closedir(dir);
    result.entries = sortedEntries(raw, found);
    result.ok = true;
    return result;
}

QByteArray DirEntry::bytes() const
{
    return encodeFileName(name);
}

std::uint64_t DirEntry::pack(std::uint64_t inode, std::uint8_t type)
{
    // Inode numbers this large do not occur on the file systems whose
    // entries are trusted; where one does, only the type is kept.
    constexpr std::uint64_t InodeLimit = std::uint64_t(1) << 56;
    return (inode < InodeLimit ? inode << 8 : 0) | type;
}

FileIdentity DirEntry::identity(std::uint64_t device) const
{
    return {device, packedIdentity >> 8, static_cast<std::uint8_t>(packedIdentity & 0xff)};
}

bool isDirectory(const QByteArray &folder)
{
    struct stat st;
    return ::stat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace lorvane
