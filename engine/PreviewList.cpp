#include "PreviewList.h"

#include "NameClashes.h"

namespace lorvane {

PreviewList::PreviewList(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("List1"));
}

const QStringList &PreviewList::entries() const
{
    for (qsizetype i = m_staleFirst; i >= 0 && i <= m_staleLast; ++i)
        bringUpToDate(i);
    return m_entries;
}

const QString &PreviewList::entry(int index) const
{
    bringUpToDate(index);
    return m_entries.at(index);
}

QStringView PreviewList::peek(qsizetype index, QString &scratch) const
{
    if (index < m_staleFirst || index > m_staleLast || m_composed[size_t(index - m_staleFirst)])
        return m_entries.at(index);
    const QString *whole = m_compose(index, scratch);
    return whole ? QStringView(*whole) : QStringView(scratch);
}

void PreviewList::keys(qsizetype first, qsizetype count, NameKey *out) const
{
    if (m_partKeys && m_partKeys(first, count, out))
        return;
    QString scratch;
    for (qsizetype k = 0; k < count; ++k)
        out[k] = keyOf(peek(first + k, scratch));
}

void PreviewList::bringUpToDate(qsizetype index) const
{
    if (index < m_staleFirst || index > m_staleLast)
        return;
    const size_t bit = size_t(index - m_staleFirst);
    if (m_composed[bit])
        return;
    QString text;
    const QString *whole = m_compose(index, text);
    m_entries[index] = whole ? *whole : std::move(text);
    m_composed[bit] = true;
}

void PreviewList::setStale(qsizetype first, qsizetype last, Compose compose)
{
    // Entries of an earlier stale range are composed again too: whatever they
    // show now, composing gives the current text.
    if (m_staleFirst >= 0) {
        first = qMin(first, m_staleFirst);
        last = qMax(last, m_staleLast);
    }
    m_staleFirst = first;
    m_staleLast = last;
    m_composed.assign(size_t(last - first + 1), false);
    m_compose = std::move(compose);
}

void PreviewList::clearStale()
{
    m_staleFirst = m_staleLast = -1;
    m_composed.clear();
}

} // namespace lorvane
