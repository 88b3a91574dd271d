#pragma once

#include "FileIdentity.h"
#include "LargeBlockAllocator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// Reads one folder straight from the kernel. Qt's directory classes decode
// names with replacement characters, so a name that is not valid UTF-8 would
// come back as a different name that cannot be renamed; here every entry keeps
// its exact on-disk bytes next to its lossless decoding (FileNameCodec.h).
namespace lorvane {

struct DirEntry
{
    QString name; // decoded, for showing and for the rename rules
    // Inode number and entry type packed into one word, so that a listing of
    // a million files pays eight bytes per entry for them (see identity()).
    std::uint64_t packedIdentity = 0;

    // Exactly as on disk, for touching the file again. The decoding is
    // lossless, so the bytes come back from the name and are not kept twice.
    [[nodiscard]] QByteArray bytes() const;
    // The entry's identity as listed; the device is the listing's.
    [[nodiscard]] FileIdentity identity(std::uint64_t device) const;
    [[nodiscard]] static std::uint64_t pack(std::uint64_t inode, std::uint8_t type);
};

enum class EntryKind {
    Files,   // regular files and symbolic links that lead to a regular file
    Folders, // folders and symbolic links that lead to a folder
};

// A file list box's pattern: one or more globs separated by ";" ("*.jpg;*.png"),
// "*" for any run of characters and "?" for one, matched without regard to
// letter case. "*.*" matches every name, those without a dot included, as the
// pattern of a file list box always has.
class NamePattern
{
public:
    explicit NamePattern(const QString &pattern = QStringLiteral("*.*"));

    [[nodiscard]] bool matches(const QString &name) const;
    [[nodiscard]] bool matchesEverything() const { return m_everything; }
    [[nodiscard]] const QString &text() const { return m_text; }

private:
    enum class Kind { Suffix, Glob };
    struct Glob
    {
        Kind kind;
        QString text; // Suffix: the case-folded tail after "*"; Glob: the folded glob
    };
    QString m_text;
    std::vector<Glob> m_globs;
    bool m_everything = false;
};

// Natural order as people sort names: letter case ignored, runs of digits
// compared by their value (file2 before file10); names that differ only in
// case or leading zeros still get a stable, total order.
[[nodiscard]] bool naturalLess(const QString &a, const QString &b);
[[nodiscard]] int naturalCompare(const QString &a, const QString &b);

// A folder's entries, a million of them at times.
using DirEntries = std::vector<DirEntry, LargeBlockAllocator<DirEntry>>;

struct [[nodiscard]] DirListing
{
    bool ok = false;
    int error = 0;            // errno of the failing open when !ok
    std::uint64_t device = 0; // the folder's device, which its entries share
    DirEntries entries;
    // With Unlisted::Keep: the decoded names of every other entry of the folder
    // (hidden ones, other kinds, names the pattern leaves out), in no order.
    QStringList unlisted;
};

enum class Unlisted { Skip, Keep };

// Lists the entries of `folder` (exact bytes) of the given kind whose decoded
// name matches `pattern`, in natural order. Names starting with "." are hidden.
DirListing listDirectory(const QByteArray &folder, EntryKind kind,
                         const NamePattern &pattern = NamePattern(),
                         Unlisted unlisted = Unlisted::Skip);

// True when `folder` (exact bytes) names a folder or a link to one.
[[nodiscard]] bool isDirectory(const QByteArray &folder);

} // namespace lorvane
