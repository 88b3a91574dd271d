#include "UndoStore.h"

void UndoStore::reset(const QByteArray &folder)
{
    m_folder = folder;
    m_done.clear();
}

void UndoStore::record(const lorvane::RenamePair &done)
{
    m_done.push_back(done);
}

std::vector<lorvane::RenamePair> UndoStore::restorePairs() const
{
    std::vector<lorvane::RenamePair> pairs;
    pairs.reserve(m_done.size());
    for (const lorvane::RenamePair &done : m_done)
        pairs.push_back({done.to, done.from, done.identity});
    return pairs;
}
