#include "NameClashes.h"

#include "PreviewList.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lorvane {

namespace {

constexpr qsizetype MaxNameBytes = 255;

// Internal marks, never returned: an entry that the execution would rename, and
// one whose name the folder's bit set lets through to an exact look-up.
constexpr quint8 Moving = 0x80;
constexpr quint8 MaybeTaken = 0x40;

inline quint64 zeroLanes(quint64 word)
{
    return (word - 0x0001000100010001ull) & ~word & 0x8000800080008000ull;
}

constexpr quint64 Base = detail::KeyBase;
constexpr quint64 Base2 = Base * Base;
constexpr quint64 Base3 = Base2 * Base;
constexpr quint64 Base4 = Base3 * Base;

// Equal names have equal identities; unequal ones almost never do, so a name is
// read to be compared only when its identity matches. The length is added in, as a
// leading NUL adds nothing to the polynomial.
inline quint64 identity(const NameKey &key)
{
    return key.hash + quint64(quint32(key.length)) * 0xC2B2AE3D27D4EB4Full;
}

// The 32 bits the look-ups use. The polynomial's low bits depend only on the low
// bits of the code units, so they are mixed down from the high ones.
inline quint32 lookupHash(quint64 identity)
{
    identity ^= identity >> 32;
    identity *= 0xD6E8FEB86659FD93ull;
    return quint32(identity >> 32);
}

// The refusal test for a name of a known key; `name` reads the name, which is only
// needed for the rare lengths where the key cannot tell.
template <typename Read> bool isRefused(const NameKey &key, Read &&name)
{
    if (key.slashOrNul || key.length == 0)
        return true;
    if (key.length <= 2) {
        const QStringView text = name();
        return text == u"." || text == u"..";
    }
    // Every code unit takes at most three bytes: short names need no count.
    return key.length * 3 > MaxNameBytes && encodedNameLength(name()) > MaxNameBytes;
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
    return isRefused(keyOf(name), [name] { return name; });
}

// Every name of the preview that a rule wrote anew is read once per keystroke, so
// the polynomial takes four code units at a time, and "/" and NUL are found in the
// same words (a lane of zero bits marks either).
NameKey keyOf(QStringView name)
{
    const char16_t *p = name.utf16();
    const qsizetype n = name.size();
    constexpr quint64 slashes = 0x002F002F002F002Full;
    quint64 h = 0;
    quint64 found = 0;
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        found |= zeroLanes(word) | zeroLanes(word ^ slashes);
        h = h * Base4 + p[i] * Base3 + p[i + 1] * Base2 + p[i + 2] * Base + p[i + 3];
    }
    for (; i < n; ++i) {
        found |= quint64(p[i] == u'/' || p[i] == 0);
        h = h * Base + p[i];
    }
    return {h, qint32(n), found != 0 ? 1u : 0u};
}

quint64 detail::keyBasePower(qint32 n)
{
    quint64 result = 1;
    quint64 factor = KeyBase;
    for (quint32 e = quint32(n); e != 0; e >>= 1) {
        if (e & 1)
            result *= factor;
        factor *= factor;
    }
    return result;
}

namespace {

// Bits per name in the bit sets: small enough to stay near the cache. Two bits of
// a name in the preview's set let about one name in thirty through without a
// reason, to a look-up in a table of those; three in the folder's set let about
// one in two hundred through, to a look-up in the folder's table, which is large
// and slow to reach. Each name's bits lie in one word, so that a look-up costs one
// cache line however many bits it tests: the preview's "seen" and "seen twice"
// words lie side by side, and the folder's bits of a name share a word.
constexpr qsizetype PreviewBitsPerName = 16;
constexpr qsizetype FolderBitsPerName = 16;

size_t tableSizeFor(qsizetype count)
{
    size_t size = 16;
    while (size < size_t(count) * 2)
        size *= 2;
    return size;
}

// Words for `names` at `bitsPerName`, a power of two.
size_t wordsFor(qsizetype names, qsizetype bitsPerName)
{
    size_t words = 1;
    while (words * 64 < size_t(names) * size_t(bitsPerName))
        words *= 2;
    return words;
}

inline size_t wordOf(quint32 hash, size_t words)
{
    return hash & (words - 1);
}

inline quint64 bitOf(quint32 hash)
{
    return quint64(1) << (hash >> 26);
}

// A name's two bits in the preview's set and three in the folder's, from bits of
// its hash that do not choose the word.
inline quint64 previewBitsOf(quint32 hash)
{
    return bitOf(hash) | quint64(1) << ((hash * 0x9E3779B1u) >> 26);
}

inline quint64 folderBitsOf(quint32 hash)
{
    return previewBitsOf(hash) | quint64(1) << (((hash * 0x9E3779B1u) >> 20) & 63);
}

// How far ahead of the entry in hand its bit sets are asked for: the sets of a
// large folder do not fit in the processor's nearer caches, and a look-up that
// waits for memory costs more than all the rest of an entry.
constexpr qsizetype LookAhead = 16;

inline void prefetch(const void *address)
{
    __builtin_prefetch(address);
}

} // namespace

void NameClashFinder::setFolder(const QStringList &listed, const QStringList &unlisted)
{
    m_folderNames = listed;
    m_folderNames.append(unlisted);
    m_listedCount = listed.size();
    const qsizetype total = m_folderNames.size();
    m_folderIds.resize(size_t(total));
    m_folderBits.assign(wordsFor(total, FolderBitsPerName), 0);
    m_folderTable.assign(tableSizeFor(total), Slot{});
    const size_t mask = m_folderTable.size() - 1;
    for (qsizetype k = 0; k < total; ++k) {
        m_folderIds[size_t(k)] = identity(keyOf(m_folderNames.at(k)));
        const quint32 hash = lookupHash(m_folderIds[size_t(k)]);
        m_folderBits[wordOf(hash, m_folderBits.size())] |= folderBitsOf(hash);
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
    void keys(qsizetype first, qsizetype count, NameKey *out) const
    {
        for (qsizetype k = 0; k < count; ++k)
            out[k] = keyOf(list.at(first + k));
    }
};

struct PreviewNames
{
    const PreviewList &list;
    qsizetype size() const { return list.count(); }
    QStringView at(qsizetype i, QString &scratch) const { return list.peek(i, scratch); }
    void keys(qsizetype first, qsizetype count, NameKey *out) const
    {
        list.keys(first, count, out);
    }
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
    m_ids.resize(size_t(n));
    const size_t seenWords = wordsFor(n, PreviewBitsPerName);
    m_seen.assign(2 * seenWords, 0);
    const size_t folderWords = m_folderBits.size();
    const qsizetype kept = qMin(qsizetype(excluded.size()), n);
    const qsizetype listed = qMin(m_listedCount, n);

    // The keys come a cache-sized chunk at a time; only their identities are kept.
    constexpr qsizetype Chunk = 1024;
    m_keys.resize(Chunk);
    QString scratch;
    for (qsizetype i = 0; i < n; ++i) {
        if (i % Chunk == 0) {
            const qsizetype count = qMin(Chunk, n - i);
            preview.keys(i, count, m_keys.data());
            for (qsizetype k = 0; k < count; ++k)
                m_ids[size_t(i + k)] = identity(m_keys[size_t(k)]);
        }
        if (i % Chunk + LookAhead < Chunk && i + LookAhead < n) {
            const quint32 ahead = lookupHash(m_ids[size_t(i + LookAhead)]);
            prefetch(&m_seen[2 * wordOf(ahead, seenWords)]);
            prefetch(&m_folderBits[wordOf(ahead, folderWords)]);
        }
        const NameKey &key = m_keys[size_t(i % Chunk)];
        const quint64 id = m_ids[size_t(i)];
        const quint32 hash = lookupHash(id);
        quint64 *seen = &m_seen[2 * wordOf(hash, seenWords)];
        const quint64 bits = previewBitsOf(hash);
        if ((seen[0] & bits) == bits)
            seen[1] |= bits;
        else
            seen[0] |= bits;
        // Which entries would really be renamed.
        if (i >= listed || (i < kept && excluded[size_t(i)]))
            continue;
        const auto name = [&] { return preview.at(i, scratch); };
        if (id == m_folderIds[size_t(i)] && name() == m_folderNames.at(i))
            continue;
        // A refused name stays what it was, so it holds its old name like any
        // file that does not move.
        if (isRefused(key, name)) {
            m_marks[size_t(i)] |= NameClash::NameRefused;
            continue;
        }
        m_marks[size_t(i)] |= Moving;
        const quint64 inFolder = folderBitsOf(hash);
        if ((m_folderBits[wordOf(hash, folderWords)] & inFolder) == inFolder)
            m_marks[size_t(i)] |= MaybeTaken;
    }
    markTakenNames(preview);
    markEqualNames(preview);
    for (quint8 &mark : m_marks)
        mark &= quint8(~(Moving | MaybeTaken));
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
        if (!(m_marks[size_t(i)] & MaybeTaken))
            continue;
        const quint64 id = m_ids[size_t(i)];
        const quint32 hash = lookupHash(id);
        for (size_t s = hash & mask;; s = (s + 1) & mask) {
            const Slot &slot = m_folderTable[s];
            if (slot.index < 0)
                break;
            if (slot.hash != hash || m_folderIds[size_t(slot.index)] != id ||
                m_folderNames.at(slot.index) != preview.at(i, scratch))
                continue;
            if (slot.index >= m_listedCount || slot.index >= n ||
                !(m_marks[size_t(slot.index)] & Moving))
                m_marks[size_t(i)] |= NameClash::NameTaken;
            break;
        }
    }
}

// Equal new names: only names whose bit was seen twice can be equal to another.
template <typename Names> void NameClashFinder::markEqualNames(const Names &preview)
{
    m_candidates.clear();
    const size_t seenWords = m_seen.size() / 2;
    const qsizetype n = preview.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i + LookAhead < n)
            prefetch(&m_seen[2 * wordOf(lookupHash(m_ids[size_t(i + LookAhead)]), seenWords) + 1]);
        const quint32 hash = lookupHash(m_ids[size_t(i)]);
        const quint64 bits = previewBitsOf(hash);
        if ((m_seen[2 * wordOf(hash, seenWords) + 1] & bits) == bits)
            m_candidates.push_back({hash, qint32(i)});
    }
    if (m_candidates.empty())
        return;
    m_candidateTable.assign(tableSizeFor(qsizetype(m_candidates.size())), Slot{});
    const size_t mask = m_candidateTable.size() - 1;
    QString scratch;
    QString otherScratch;
    for (const Slot &entry : m_candidates) {
        const quint64 id = m_ids[size_t(entry.index)];
        for (size_t s = entry.hash & mask;; s = (s + 1) & mask) {
            Slot &slot = m_candidateTable[s];
            if (slot.index < 0) {
                slot = entry;
                break;
            }
            if (slot.hash == entry.hash && m_ids[size_t(slot.index)] == id &&
                preview.at(slot.index, otherScratch) == preview.at(entry.index, scratch)) {
                m_marks[size_t(entry.index)] |= NameClash::SameNewName;
                m_marks[size_t(slot.index)] |= NameClash::SameNewName;
                break;
            }
        }
    }
}

} // namespace lorvane
