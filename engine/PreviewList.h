#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

namespace lorvane {

struct NameKey;

// List1, the preview: entry i is the proposed new name of File1 entry i. Only the
// engine writes it; it publishes the entries once at the end of every handler run
// that the window started, with exactly one signal:
//  - entriesReset() when the list was refilled from the folder list (its count may
//    have changed): reset the view's model;
//  - entriesChanged(first, last) when entries first..last changed text in place:
//    one dataChanged over that range.
// Nothing is emitted when no entry changed. Between those signals the entries do not
// change, so the window's list model can read entries() directly, without a copy.
//
// A change that spans many entries (every keystroke under most rules) is reported
// over the range the rules wrote, and its entries are composed when they are first
// read: a view reads the rows it shows, so a keystroke over 1,000,000 names no
// longer builds 1,000,000 strings.
class PreviewList : public QObject
{
    Q_OBJECT
public:
    explicit PreviewList(QObject *parent = nullptr);

    [[nodiscard]] const QStringList &entries() const;
    [[nodiscard]] int count() const { return int(m_entries.size()); }
    [[nodiscard]] const QString &entry(int index) const;
    // Entry `index` as entry() gives it, without keeping it: an entry not composed
    // yet is composed into `scratch` (the view then points there). For one pass
    // over every entry that needs each name only once.
    [[nodiscard]] QStringView peek(qsizetype index, QString &scratch) const;
    // The clash keys (NameClashes.h) of entries first .. first + count - 1, into
    // `out`. Taken from the parts the engine builds the entries of, where it can,
    // so that no entry is built for them.
    void keys(qsizetype first, qsizetype count, NameKey *out) const;

signals:
    void entriesReset();
    void entriesChanged(int first, int last);

private:
    friend class PreviewStore;
    // Writes entry i into `out`, or returns the one string that is the whole entry.
    using Compose = std::function<const QString *(qsizetype i, QString &out)>;

    // Entries first..last are composed by `compose` when they are read.
    void setStale(qsizetype first, qsizetype last, Compose compose);
    void clearStale();
    void bringUpToDate(qsizetype index) const;

    mutable QStringList m_entries;
    qsizetype m_staleFirst = -1;
    qsizetype m_staleLast = -1;
    // Per entry of the stale range: composed since it became stale.
    mutable std::vector<bool> m_composed;
    Compose m_compose;
    // keys() from the entries' parts; false when the parts are not what List1
    // shows (not published yet).
    std::function<bool(qsizetype first, qsizetype count, NameKey *out)> m_partKeys;
};

} // namespace lorvane
