#include "FolderListModel.h"

#include "FileNameCodec.h"

#include <QDir>

#include <cerrno>

FolderListModel::FolderListModel(QObject *parent) : QAbstractListModel(parent) {}

// A folder that cannot be read leaves the list empty: nothing of another
// folder, or of this one as it was, may stay to be renamed.
int FolderListModel::read(const QByteArray &folder)
{
    lorvane::DirListing listing = lorvane::listDirectory(folder, lorvane::EntryKind::Files,
                                                         m_pattern, lorvane::Unlisted::Keep);
    beginResetModel();
    m_entries = std::move(listing.entries);
    m_device = listing.device;
    m_unlisted = std::move(listing.unlisted);
    endResetModel();
    emit listed();
    return listing.ok ? 0 : listing.error;
}

int FolderListModel::setPath(const QString &folder)
{
    if (folder.isEmpty())
        return ENOENT;
    m_path = QDir::cleanPath(folder);
    m_pathBytes = lorvane::encodeFileName(m_path);
    return read(m_pathBytes);
}

void FolderListModel::setPattern(const QString &pattern)
{
    m_pattern = lorvane::NamePattern(pattern);
    if (!m_pathBytes.isEmpty())
        (void)read(m_pathBytes);
}

int FolderListModel::refresh()
{
    return m_pathBytes.isEmpty() ? 0 : read(m_pathBytes);
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
