#include "UndoStore.h"

void UndoStore::reset(const QByteArray &folder)
{
    m_folder = folder;
    m_done.clear();
}

void UndoStore::record(const lorvane::BatchRename &batch)
{
    m_done.reserve(m_done.size() + batch.size());
    for (std::size_t e = 0; e < batch.size(); ++e) {
        if (batch.outcomes()[e].status == lorvane::RenameStatus::Renamed)
            m_done.push_back(batch.pairs()[e]);
    }
}

std::vector<lorvane::RenamePair> UndoStore::restorePairs() const
{
    std::vector<lorvane::RenamePair> pairs;
    pairs.reserve(m_done.size());
    for (const lorvane::RenamePair &done : m_done)
        pairs.push_back({done.to, done.from, done.identity});
    return pairs;
}
