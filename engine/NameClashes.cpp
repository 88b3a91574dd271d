#include "NameClashes.h"

#include "PreviewList.h"

#include <algorithm>
#include <cstring>

namespace lorvane {

namespace {

constexpr qsizetype MaxNameBytes = 255;

// Internal mark of an entry that the execution would rename; never returned.
constexpr quint8 Moving = 0x80;

// What one pass over a name's code units tells: its hash, and whether it holds a
// "/" or a NUL. Every name of the preview is read once per keystroke, so the hash
// works on four code units at a time and the two characters are found in the
// same words (a lane of zero bits marks either).
struct NameScan
{
    quint32 hash;
    bool slashOrNul;
};

inline quint64 mix(quint64 h, quint64 word)
{
    h = (h ^ word) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

inline quint64 zeroLanes(quint64 word)
{
    return (word - 0x0001000100010001ull) & ~word & 0x8000800080008000ull;
}

NameScan scanName(QStringView name)
{
    const char16_t *p = name.utf16();
    const qsizetype n = name.size();
    constexpr quint64 slashes = 0x002F002F002F002Full;
    quint64 h = quint64(n) * 0xC2B2AE3D27D4EB4Full;
    quint64 found = 0;
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        found |= zeroLanes(word) | zeroLanes(word ^ slashes);
        h = mix(h, word);
    }
    if (i < n) {
        quint64 word = 0;
        for (qsizetype k = 0; i + k < n; ++k) {
            const char16_t c = p[i + k];
            found |= quint64(c == u'/' || c == 0);
            word |= quint64(c) << (16 * k);
        }
        h = mix(h, word);
    }
    h = mix(h, h >> 32);
    return {quint32(h), found != 0};
}

inline quint32 hashOf(QStringView name)
{
    return scanName(name).hash;
}

// The refusal test for a name already scanned.
bool isRefused(QStringView name, const NameScan &scan)
{
    if (scan.slashOrNul || name.isEmpty())
        return true;
    if (name.size() <= 2 && (name == u"." || name == u".."))
        return true;
    // Every code unit takes at most three bytes: short names need no count.
    return name.size() * 3 > MaxNameBytes && encodedNameLength(name) > MaxNameBytes;
}

} // namespace

qsizetype encodedNameLength(QStringView name)
{
    qsizetype bytes = 0;
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && name[i + 1].isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            bytes += 1; // a stray byte of a name that is not UTF-8
        } else {
            bytes += 3; // the rest of the plane, other lone surrogates as U+FFFD
        }
    }
    return bytes;
}

bool isRefusedFileName(QStringView name)
{
    return isRefused(name, scanName(name));
}

namespace {

// Bits per name in the bit sets: small enough to stay in the cache. One bit per
// name in the preview's sets lets about one name in eight through without a reason,
// to a look-up in a small table; two in the folder's set let one in twenty through,
// to a look-up in the folder's table, which is large and slow to reach.
constexpr qsizetype PreviewBitsPerName = 8;
constexpr qsizetype FolderBitsPerName = 16;

size_t tableSizeFor(qsizetype count)
{
    size_t size = 16;
    while (size < size_t(count) * 2)
        size *= 2;
    return size;
}

void resizeBits(std::vector<quint64> &bits, qsizetype names, qsizetype bitsPerName)
{
    size_t words = 1;
    while (words * 64 < size_t(names) * size_t(bitsPerName))
        words *= 2;
    bits.assign(words, 0);
}

inline bool testBit(const std::vector<quint64> &bits, quint32 hash)
{
    const size_t bit = hash & (bits.size() * 64 - 1);
    return bits[bit / 64] & (quint64(1) << (bit % 64));
}

inline void setBit(std::vector<quint64> &bits, quint32 hash)
{
    const size_t bit = hash & (bits.size() * 64 - 1);
    bits[bit / 64] |= quint64(1) << (bit % 64);
}

// A second bit for the same name, from other bits of its hash.
inline quint32 otherBit(quint32 hash)
{
    return (hash * 0x9E3779B1u) >> 7;
}

} // namespace

void NameClashFinder::setFolder(const QStringList &listed, const QStringList &unlisted)
{
    m_folderNames = listed;
    m_folderNames.append(unlisted);
    m_listedCount = listed.size();
    const qsizetype total = m_folderNames.size();
    m_folderHashes.resize(size_t(total));
    resizeBits(m_folderBits, total, FolderBitsPerName);
    m_folderTable.assign(tableSizeFor(total), Slot{});
    const size_t mask = m_folderTable.size() - 1;
    for (qsizetype k = 0; k < total; ++k) {
        const quint32 hash = hashOf(m_folderNames.at(k));
        m_folderHashes[size_t(k)] = hash;
        setBit(m_folderBits, hash);
        setBit(m_folderBits, otherBit(hash));
        size_t s = hash & mask;
        while (m_folderTable[s].index >= 0)
            s = (s + 1) & mask;
        m_folderTable[s] = {hash, qint32(k)};
    }
}

namespace {

// The two kinds of preview the finder reads. at() gives entry i, built in
// `scratch` where it has to be built first.
struct ListedNames
{
    const QStringList &list;
    qsizetype size() const { return list.size(); }
    QStringView at(qsizetype i, QString &) const { return list.at(i); }
};

struct PreviewNames
{
    const PreviewList &list;
    qsizetype size() const { return list.count(); }
    QStringView at(qsizetype i, QString &scratch) const { return list.peek(i, scratch); }
};

} // namespace

const std::vector<quint8> &NameClashFinder::find(const QStringList &preview,
                                                 const std::vector<bool> &excluded)
{
    return findIn(ListedNames{preview}, excluded);
}

const std::vector<quint8> &NameClashFinder::find(const PreviewList &preview,
                                                 const std::vector<bool> &excluded)
{
    return findIn(PreviewNames{preview}, excluded);
}

template <typename Names>
const std::vector<quint8> &NameClashFinder::findIn(const Names &preview,
                                                   const std::vector<bool> &excluded)
{
    if (m_folderBits.empty())
        setFolder({}, {});
    const qsizetype n = preview.size();
    m_marks.assign(size_t(n), NameClash::None);
    m_hashes.resize(size_t(n));
    resizeBits(m_seen, n, PreviewBitsPerName);
    resizeBits(m_seenTwice, n, PreviewBitsPerName);
    const qsizetype kept = qMin(qsizetype(excluded.size()), n);
    const qsizetype listed = qMin(m_listedCount, n);

    QString scratch;
    for (qsizetype i = 0; i < n; ++i) {
        const QStringView name = preview.at(i, scratch);
        const NameScan scan = scanName(name);
        const quint32 hash = scan.hash;
        m_hashes[size_t(i)] = hash;
        if (testBit(m_seen, hash))
            setBit(m_seenTwice, hash);
        else
            setBit(m_seen, hash);
        // Which entries would really be renamed.
        if (i >= listed || (i < kept && excluded[size_t(i)]))
            continue;
        if (hash == m_folderHashes[size_t(i)] && name == m_folderNames.at(i))
            continue;
        // A refused name stays what it was, so it holds its old name like any
        // file that does not move.
        if (isRefused(name, scan))
            m_marks[size_t(i)] |= NameClash::NameRefused;
        else
            m_marks[size_t(i)] |= Moving;
    }
    markTakenNames(preview);
    markEqualNames(preview);
    for (quint8 &mark : m_marks)
        mark &= quint8(~Moving);
    return m_marks;
}

// New names that something staying in the folder holds. A listed file that moves
// away frees its name: the execution orders such chains itself.
template <typename Names> void NameClashFinder::markTakenNames(const Names &preview)
{
    const size_t mask = m_folderTable.size() - 1;
    const qsizetype n = preview.size();
    QString scratch;
    for (qsizetype i = 0; i < n; ++i) {
        const quint32 hash = m_hashes[size_t(i)];
        if (!(m_marks[size_t(i)] & Moving) || !testBit(m_folderBits, hash) ||
            !testBit(m_folderBits, otherBit(hash)))
            continue;
        const QStringView name = preview.at(i, scratch);
        for (size_t s = hash & mask;; s = (s + 1) & mask) {
            const Slot &slot = m_folderTable[s];
            if (slot.index < 0)
                break;
            if (slot.hash != hash || m_folderNames.at(slot.index) != name)
                continue;
            if (slot.index >= m_listedCount || slot.index >= n ||
                !(m_marks[size_t(slot.index)] & Moving))
                m_marks[size_t(i)] |= NameClash::NameTaken;
            break;
        }
    }
}

// Equal new names: only names whose bit was set twice can be equal to another.
template <typename Names> void NameClashFinder::markEqualNames(const Names &preview)
{
    m_candidates.clear();
    for (qsizetype i = 0; i < preview.size(); ++i) {
        if (testBit(m_seenTwice, m_hashes[size_t(i)]))
            m_candidates.push_back({m_hashes[size_t(i)], qint32(i)});
    }
    if (m_candidates.empty())
        return;
    m_candidateTable.assign(tableSizeFor(qsizetype(m_candidates.size())), Slot{});
    const size_t mask = m_candidateTable.size() - 1;
    QString scratch;
    QString otherScratch;
    for (const Slot &entry : m_candidates) {
        const QStringView name = preview.at(entry.index, scratch);
        for (size_t s = entry.hash & mask;; s = (s + 1) & mask) {
            Slot &slot = m_candidateTable[s];
            if (slot.index < 0) {
                slot = entry;
                break;
            }
            if (slot.hash == entry.hash && preview.at(slot.index, otherScratch) == name) {
                m_marks[size_t(entry.index)] |= NameClash::SameNewName;
                m_marks[size_t(slot.index)] |= NameClash::SameNewName;
                break;
            }
        }
    }
}

} // namespace lorvane
