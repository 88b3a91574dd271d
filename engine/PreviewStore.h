#pragma once

#include "NumberSeries.h"
#include "ReplacePair.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace lorvane {

class FileList;
class PreviewList;
struct NameKey;

// Where the numbering rule puts its numbers.
enum class NumberPlace : quint8 { None, BeforeExtension, AtStart };

// The numbers in the preview. The number slot is not stored per entry: every apply
// numbers entries 0 to numbered - 1 with the texts of one start, step and zero fill,
// and every strip or refill removes all numbers, so one value describes the numbers
// of every entry at once.
struct AppliedNumbers
{
    NumberPlace place = NumberPlace::None;
    std::shared_ptr<const NumberSeries::Texts> texts;
    qsizetype numbered = 0;
};

// The preview's entries, each kept as its parts
//   [NumB number] base name extension
// with a NumA number inserted where numberPosition() says, and the folder name each came from, and
// what List1 needs to be published: the range of entries written since the last publish. Entries
// share strings wherever they can (one base name for all under the change and delete rules, one
// string per distinct extension), because a keystroke rewrites every entry.
class PreviewStore
{
public:
    explicit PreviewStore(ReplacePair &replace) : m_replace(replace) {}

    [[nodiscard]] int count() const { return int(m_exts.size()); }

    // Reset: List1 is cleared and filled again (entriesReset on publish). InPlace:
    // entries are set back to their folder names where they stand (entriesChanged),
    // unless the count changed. Either way the numbers and the replace pair's
    // pieces are gone.
    enum class Refill { Reset, InPlace };
    void refill(const FileList &file1, Refill how);

    [[nodiscard]] const QString &folderBase(qsizetype i) const { return m_folder[size_t(i)].base; }
    [[nodiscard]] const QString &folderExt(qsizetype i) const { return m_folder[size_t(i)].ext; }

    [[nodiscard]] const QString &base(qsizetype i) const
    {
        return m_allBases ? *m_allBases : m_bases[size_t(i)];
    }
    [[nodiscard]] const QString &ext(qsizetype i) const { return m_exts[size_t(i)]; }
    // The extension part was written by the extension change rule ("." + txtEX);
    // only then may the change-focus step take its dot off.
    [[nodiscard]] bool extByChangeRule(qsizetype i) const { return m_extsByChangeRule[size_t(i)]; }

    void setBase(qsizetype i, const QString &base);
    // Every entry gets this base name, kept once instead of in every entry while no
    // entry is held by the replace pair.
    void setAllBases(const QString &base);
    // Gives every entry its own base name again (before a per-entry edit).
    void separateBases();
    void setExt(qsizetype i, const QString &ext, bool byChangeRule);
    // Writes entry i from the replace pair's pieces (ReplacePair::rebuild).
    void rebuildFromPieces(qsizetype i, const QString &insert, ReplacePair::Join join);

    [[nodiscard]] const AppliedNumbers &numbers() const { return m_numbers; }
    void setNumbers(const AppliedNumbers &numbers);
    // The number text in entry i, "" when it carries none.
    [[nodiscard]] const QString &numberOf(qsizetype i) const;
    // Where a number before the extension stands in entry i's base name and
    // extension joined: before the entry's last dotted part as the entry stands
    // without its number, whatever rule made that dot; at the end when the entry has
    // no dot or ends in one. The renamed file's extension is then that last part.
    [[nodiscard]] qsizetype numberPosition(qsizetype i) const;

    // Letter case of every part, each shared string mapped once.
    void mapLetters(bool capital);
    // The first character of every entry that is not a digit, in capital form.
    void capitaliseFirstNonDigit();

    // Entry i as List1 shows it.
    [[nodiscard]] QString compose(qsizetype i) const;
    // Writes the entries changed since the last publish into List1, with one
    // signal (PreviewList.h); nothing when no entry changed.
    void publish(PreviewList &list1);
    // Lets List1 take its entries' clash keys from the parts kept here
    // (PreviewList::keys) whenever everything here is published.
    void serveKeys(PreviewList &list1);
    // The clash keys (NameClashes.h) of entries first .. first + count - 1, into
    // `out`, from the keys of their parts: a part that many entries share is read
    // once, not once per entry.
    void keys(qsizetype first, qsizetype count, NameKey *out) const;

private:
    struct FolderName
    {
        QString base;
        QString ext;
    };

    void markDirty(qsizetype i);
    void markAllDirty();
    const QString *composeInto(qsizetype i, QString &out) const;

    ReplacePair &m_replace;
    std::vector<FolderName> m_folder;
    // The entries' parts, one list per part: a pass over one part of every entry
    // (the extensions, for the case rules and the clash keys) reads nothing else.
    std::vector<QString> m_bases;
    std::vector<QString> m_exts;
    std::vector<bool> m_extsByChangeRule;
    // When set, every entry's base name is this text (m_bases is then unused).
    std::optional<QString> m_allBases;
    AppliedNumbers m_numbers;

    bool m_refilled = false;
    // The folder names of the last refill, until the next publish: List1 shares
    // them for every entry that no rule has touched since, so that a folder
    // listed without rules is held once, not once more in List1.
    QStringList m_listedNames;
    qsizetype m_dirtyFirst = -1;
    qsizetype m_dirtyLast = -1;
    QString m_scratch;
    // The hashes and lengths of the number texts, kept for the texts they were
    // made of: a pass over the keys then reads no number text.
    mutable std::shared_ptr<const NumberSeries::Texts> m_hashedTexts;
    mutable std::vector<quint64> m_numberHashes;
    mutable std::vector<qint32> m_numberLengths;
};

} // namespace lorvane
