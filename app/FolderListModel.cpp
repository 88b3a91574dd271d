#include "FolderListModel.h"

#include "FileNameCodec.h"

#include <QDir>

#include <cerrno>
#include <future>
#include <optional>

namespace {

struct ListingAhead
{
    QByteArray folder;
    std::future<lorvane::DirListing> listing;
};

ListingAhead &listingAhead()
{
    static ListingAhead ahead;
    return ahead;
}

} // namespace

FolderListModel::FolderListModel(QObject *parent) : QAbstractListModel(parent) {}

void FolderListModel::listAhead(const QString &folder)
{
    ListingAhead &ahead = listingAhead();
    if (folder.isEmpty() || ahead.listing.valid())
        return;
    ahead.folder = lorvane::encodeFileName(QDir::cleanPath(folder));
    ahead.listing = std::async(std::launch::async, [folder = ahead.folder] {
        return lorvane::listDirectory(folder, lorvane::EntryKind::Files, lorvane::NamePattern(),
                                      lorvane::Unlisted::Keep);
    });
}

// A folder that cannot be read leaves the list empty: nothing of another
// folder, or of this one as it was, may stay to be renamed.
int FolderListModel::read(const QByteArray &folder)
{
    ListingAhead &ahead = listingAhead();
    std::optional<lorvane::DirListing> early;
    if (ahead.listing.valid()) {
        // Taken or not, it is never used later: by then it would be stale.
        lorvane::DirListing listing = ahead.listing.get();
        if (ahead.folder == folder && m_pattern.text() == lorvane::NamePattern().text())
            early = std::move(listing);
    }
    lorvane::DirListing listing = early
                                      ? std::move(*early)
                                      : lorvane::listDirectory(folder, lorvane::EntryKind::Files,
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
