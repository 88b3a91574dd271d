#include "FolderListModel.h"

#include "FileNameCodec.h"

#include <QDir>

FolderListModel::FolderListModel(QObject *parent) : QAbstractListModel(parent) {}

bool FolderListModel::read(const QByteArray &folder)
{
    lorvane::DirListing listing =
        lorvane::listDirectory(folder, lorvane::EntryKind::Files, m_pattern);
    if (!listing.ok)
        return false;
    beginResetModel();
    m_entries = std::move(listing.entries);
    endResetModel();
    emit listed();
    return true;
}

bool FolderListModel::setPath(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(folder);
    const QByteArray bytes = lorvane::encodeFileName(clean);
    if (!read(bytes))
        return false;
    m_path = clean;
    m_pathBytes = bytes;
    return true;
}

void FolderListModel::setPattern(const QString &pattern)
{
    m_pattern = lorvane::NamePattern(pattern);
    if (!m_pathBytes.isEmpty() && read(m_pathBytes))
        return;
    // Without a readable folder the filter still applies to what is shown.
    beginResetModel();
    std::erase_if(m_entries,
                  [this](const lorvane::DirEntry &e) { return !m_pattern.matches(e.name); });
    endResetModel();
    emit listed();
}

void FolderListModel::refresh()
{
    if (m_pathBytes.isEmpty() || read(m_pathBytes))
        return;
    // The folder is gone: nothing of it can be renamed any more.
    beginResetModel();
    m_entries.clear();
    endResetModel();
    emit listed();
}

QByteArray FolderListModel::fullPathBytes(int row) const
{
    const QByteArray &folder = m_pathBytes;
    return folder.endsWith('/') ? folder + bytes(row) : folder + '/' + bytes(row);
}

QStringList FolderListModel::names() const
{
    QStringList out;
    out.reserve(qsizetype(m_entries.size()));
    for (const lorvane::DirEntry &e : m_entries)
        out.append(e.name);
    return out;
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_entries.size()))
        return {};
    const lorvane::DirEntry &e = m_entries[size_t(index.row())];
    if (role == Qt::DisplayRole)
        return e.name;
    if (role == BytesRole)
        return e.bytes();
    return {};
}
