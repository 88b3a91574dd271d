#pragma once

#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace lorvane {

class PreviewList;

// Why a preview name would not come through an execution as shown. An entry can
// have several reasons at once; they are bits of one byte.
namespace NameClash {
enum : quint8 {
    None = 0,
    // Another preview entry has the same name. The execution numbers such names
    // before it renames anything.
    SameNewName = 1,
    // Something in the folder that keeps its name already has this one: a file the
    // list does not show (hidden, filtered out), a folder, a link of another kind, or
    // a listed file that is excluded or keeps its name.
    NameTaken = 2,
    // No file can have this name: empty, ".", "..", containing "/" or NUL, or longer
    // than 255 bytes on disk.
    NameRefused = 4,
};
} // namespace NameClash

// True when a file system refuses `name` as the name of a file.
[[nodiscard]] bool isRefusedFileName(QStringView name);

// What the clash look-ups need of a name, in a form that two names' keys can be
// joined into the key of the two names written one after the other: the preview
// store finds the key of an entry from the keys of its parts, which many entries
// share, without building the entry.
struct NameKey
{
    // A polynomial in the code units: equal names have equal hashes.
    quint64 hash = 0;
    qint32 length = 0; // code units
    // 1 when the name holds a "/" or a NUL. A whole word, so that the key has no
    // padding: a key with padding is copied in overlapping pieces, which stalls
    // the processor when the copy is read back at once.
    quint32 slashOrNul = 0;
};
[[nodiscard]] NameKey keyOf(QStringView name);

namespace detail {
// The polynomial's base, and its powers: the key of a name followed by n code units
// is the name's hash times KeyBase^n plus theirs. The table covers every name a
// file can have; longer texts raise the base on demand.
inline constexpr quint64 KeyBase = 0x9E3779B97F4A7C15ull;
inline constexpr qint32 TabledPowers = 512;
inline constexpr std::array<quint64, TabledPowers> KeyBasePowers = [] {
    std::array<quint64, TabledPowers> powers{};
    quint64 p = 1;
    for (quint64 &power : powers) {
        power = p;
        p *= KeyBase;
    }
    return powers;
}();
[[nodiscard]] quint64 keyBasePower(qint32 n);
} // namespace detail

// The key of the name `head` followed by the name `tail`.
[[nodiscard]] inline NameKey joined(const NameKey &head, const NameKey &tail)
{
    const quint64 power = tail.length < detail::TabledPowers
                              ? detail::KeyBasePowers[size_t(tail.length)]
                              : detail::keyBasePower(tail.length);
    return {head.hash * power + tail.hash, head.length + tail.length,
            head.slashOrNul | tail.slashOrNul};
}

// The length of `name` on disk, in bytes. Names are decoded losslessly (valid UTF-8
// as usual, each stray byte as a lone surrogate U+DC80..U+DCFF), so this is the
// length the name has once encoded again.
[[nodiscard]] qsizetype encodedNameLength(QStringView name);

// Finds the clashes of a preview against its folder. Pure: it reads no disk. The
// folder is given once per listing; each find() then costs one pass over the
// preview with two hash look-ups per entry, whatever the rules did to the names.
class NameClashFinder
{
public:
    // The folder as listed: the names of the listed files, in list order (entry i
    // of the preview proposes a new name for listed[i]), and every other name the
    // folder holds (hidden entries, files the filter leaves out, folders, links that
    // do not lead to a file, ...).
    void setFolder(const QStringList &listed, const QStringList &unlisted);

    // The reasons of every preview entry (NameClash bits), one per entry.
    // `excluded[i]` is true for a listed file the execution leaves alone; a shorter
    // vector counts as false for the rest. `preview` has one entry per listed name;
    // extra entries are compared with each other only.
    const std::vector<quint8> &find(const QStringList &preview, const std::vector<bool> &excluded);
    // The same over List1 as it stands. A keystroke leaves most entries to be
    // composed when they are read, so this takes the entries' keys from their
    // parts (PreviewList::keys) and reads an entry only to compare it exactly.
    const std::vector<quint8> &find(const PreviewList &preview, const std::vector<bool> &excluded);

    [[nodiscard]] const std::vector<quint8> &marks() const { return m_marks; }

private:
    // Every name is hashed once. Most names clash with nothing, so each check first
    // asks a bit set indexed by the hash (a few hundred kilobytes, which stay in the
    // processor's cache); only names whose bit is set go on to an exact look-up, in
    // a table that would miss the cache on nearly every probe.
    struct Slot
    {
        quint32 hash = 0;
        qint32 index = -1; // -1: empty
    };
    using Bits = std::vector<quint64>;
    // Finds the marks of `preview` (ListedNames or PreviewNames).
    template <typename Names>
    const std::vector<quint8> &findIn(const Names &preview, const std::vector<bool> &excluded);
    template <typename Names> void markEqualNames(const Names &preview);
    template <typename Names> void markTakenNames(const Names &preview);

    QStringList m_folderNames;        // listed, then unlisted
    std::vector<quint64> m_folderIds; // identity() of each folder name
    qsizetype m_listedCount = 0;
    Bits m_folderBits;
    std::vector<Slot> m_folderTable;

    std::vector<NameKey> m_keys; // a chunk of the preview's
    std::vector<quint64> m_ids;  // identity of each preview key
    Bits m_seen;                 // pairs of words: seen, seen twice
    std::vector<Slot> m_candidates;
    std::vector<Slot> m_candidateTable;
    std::vector<quint8> m_marks;
};

} // namespace lorvane
