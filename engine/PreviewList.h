#pragma once

#include <QObject>
#include <QStringList>

namespace lorvane {

// List1, the preview: entry i is the proposed new name of File1 entry i. Only the
// engine writes it; it publishes the entries once at the end of every handler run
// that the window started, with exactly one signal:
//  - entriesReset() when the list was refilled from the folder list (its count may
//    have changed): reset the view's model;
//  - entriesChanged(first, last) when entries first..last changed text in place:
//    one dataChanged over that range.
// Nothing is emitted when no entry changed. Between those signals the entries do not
// change, so the window's list model can read entries() directly, without a copy.
class PreviewList : public QObject
{
    Q_OBJECT
public:
    explicit PreviewList(QObject *parent = nullptr);

    [[nodiscard]] const QStringList &entries() const { return m_entries; }
    [[nodiscard]] int count() const { return int(m_entries.size()); }
    [[nodiscard]] const QString &entry(int index) const { return m_entries.at(index); }

signals:
    void entriesReset();
    void entriesChanged(int first, int last);

private:
    friend class PreviewStore;
    QStringList m_entries;
};

} // namespace lorvane
