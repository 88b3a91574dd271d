#include "UndoStore.h"

#include "FileNameCodec.h"

void UndoStore::reset(const QByteArray &folder)
{
    m_folder = folder;
    m_done.clear();
}

void UndoStore::record(const lorvane::RenamePair &done)
{
    m_done.push_back(done);
}

QString UndoStore::pathOf(const QByteArray &name) const
{
    QByteArray path = m_folder;
    if (!path.endsWith('/'))
        path += '/';
    return lorvane::decodeFileName(path + name);
}

QString UndoStore::entry(qsizetype index) const
{
    if (index == 0)
        return QString::number(count());
    if (index < 0 || index > 2 * count())
        return {};
    const lorvane::RenamePair &pair = m_done[size_t((index - 1) / 2)];
    return pathOf(index % 2 == 1 ? pair.to : pair.from);
}

std::vector<lorvane::RenamePair> UndoStore::restorePairs() const
{
    std::vector<lorvane::RenamePair> pairs;
    pairs.reserve(m_done.size());
    for (const lorvane::RenamePair &done : m_done)
        pairs.push_back({done.to, done.from, done.identity});
    return pairs;
}
