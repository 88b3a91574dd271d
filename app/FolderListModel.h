#pragma once

#include "DirectoryListing.h"
#include "FileList.h"

#include <QAbstractListModel>

// The folder list File1: the files of one folder that match a pattern, in
// natural order. Each entry keeps its decoded name (what the rules and the
// preview work on) and its exact on-disk bytes (what a rename must use).
class FolderListModel : public QAbstractListModel, public lorvane::FileList
{
    Q_OBJECT

public:
    enum Role {
        BytesRole = Qt::UserRole + 1, // the entry's exact on-disk name (QByteArray)
    };

    explicit FolderListModel(QObject *parent = nullptr);

    // Starts listing `folder` (decoded form of an absolute path) on a thread
    // of its own, for the first list that is set to that folder with the
    // pattern it starts with: at start-up the folder is then read while the
    // application and its window are being built. A listing taken ahead is
    // used once, and only when no other folder was asked for before it.
    static void listAhead(const QString &folder);

    // Lists `folder` (decoded form of an absolute path) and returns 0, or the
    // errno of the failure when it cannot be listed (no permission, gone, not
    // a folder). Either way `folder` becomes the list's folder: a failure
    // leaves the list empty, never holding the files of the folder before.
    [[nodiscard]] int setPath(const QString &folder);
    // The folder shown, decoded form (empty before the first setPath).
    [[nodiscard]] QString path() const override { return m_path; }
    [[nodiscard]] QByteArray pathBytes() const { return m_pathBytes; }

    // The list's pattern ("*.*" at start); re-reads the folder.
    void setPattern(const QString &pattern) override;
    [[nodiscard]] QString pattern() const override { return m_pattern.text(); }

    // Reads the folder again from the disk; 0 or the errno of the failure,
    // after which the list is empty.
    int refresh();

    [[nodiscard]] int count() const override { return int(m_entries.size()); }
    [[nodiscard]] QString entry(int index) const override { return name(index); }
    [[nodiscard]] const QString &name(int row) const { return m_entries[size_t(row)].name; }
    [[nodiscard]] QByteArray bytes(int row) const { return m_entries[size_t(row)].bytes(); }
    // The file the entry named when it was listed.
    [[nodiscard]] lorvane::FileIdentity identity(int row) const
    {
        return m_entries[size_t(row)].identity(m_device);
    }
    // Full path of an entry, exact bytes.
    [[nodiscard]] QByteArray fullPathBytes(int row) const;
    // All names in order, decoded.
    [[nodiscard]] QStringList names() const;
    // Every other name the folder held at the last listing: hidden entries,
    // folders, links that do not lead to a file, files the pattern leaves out.
    [[nodiscard]] const QStringList &unlisted() const { return m_unlisted; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

signals:
    // After every new listing (folder, pattern or refresh), once the model has
    // been reset.
    void listed();

private:
    int read(const QByteArray &folder);

    QString m_path;
    QByteArray m_pathBytes;
    std::uint64_t m_device = 0;
    lorvane::NamePattern m_pattern;
    lorvane::DirEntries m_entries;
    QStringList m_unlisted;
};
