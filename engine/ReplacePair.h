#pragma once

#include <QString>

#include <vector>

namespace lorvane {

// What the replace pair (txtDel find, txtW with) holds of every preview entry: the
// entry's base name and extension joined without the occurrences of the find text,
// the lengths of the pieces between them, and where the base name ended when they
// were taken out. From this the entry is written again with any text between the
// pieces, the find text itself included, without searching the entry.
//
// An entry that another rule rewrites is forgotten (the pieces no longer describe
// it); the preview store does that as it writes the entry.
class ReplacePair
{
public:
    enum class Join {
        Restore, // the find text goes back exactly where it was
        Insert,  // the with text goes in its places
    };

    // True while no entry is held (nothing found, or nothing split yet).
    [[nodiscard]] bool isEmpty() const { return m_states.empty(); }
    [[nodiscard]] bool holds(qsizetype i) const
    {
        return !m_states.empty() && !m_states[size_t(i)].pieceLengths.empty();
    }
    // One (empty) state per entry, ready for split().
    void resize(qsizetype count) { m_states.resize(size_t(count)); }
    void clear() { m_states.clear(); }
    void forget(qsizetype i);

    // Takes every occurrence of `find` out of base + ext of entry i, except one that
    // would strictly contain the position `avoidInside` (where a number sits).
    // Returns false, holding nothing of the entry, when nothing was found.
    bool split(qsizetype i, const QString &base, const QString &ext, const QString &find,
               qsizetype avoidInside);

    // Writes base and ext of entry i from its pieces with `insert` between them. The
    // boundary between base name and extension stays where it was in the entry
    // before the find text was taken out; an occurrence that spanned it goes, with
    // its replacement, to the extension, unless the find text itself is put back.
    void rebuild(qsizetype i, QString &base, QString &ext, const QString &insert, Join join) const;

    // The find text the pieces were split at, and the text put between them (""
    // when the with text is empty or only spaces).
    [[nodiscard]] const QString &find() const { return m_find; }
    [[nodiscard]] const QString &inserted() const { return m_inserted; }
    void setFind(const QString &find) { m_find = find; }
    void setInserted(const QString &inserted) { m_inserted = inserted; }

    // Occurrences taken out of entry i (0 = none), and the piece lengths.
    [[nodiscard]] int occurrences(qsizetype i) const;
    [[nodiscard]] std::vector<int> pieceLengths(qsizetype i) const;

private:
    struct State
    {
        QString stripped;
        std::vector<int> pieceLengths;
        int baseLength = 0;
    };

    std::vector<State> m_states; // empty, or one per entry
    QString m_find;
    QString m_inserted;
};

} // namespace lorvane
