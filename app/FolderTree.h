#pragma once

#include <QTreeView>

class FolderTreeModel;

// The folder tree of the main window's left column: every folder from "/" on.
// Each change of the current folder is reported by folderSelected().
//
// The tree follows the disk: a folder is read again each time it is expanded,
// and expanded folders are watched, so folders made or removed while the
// program runs appear and disappear. When the current folder itself disappears
// the tree has no current folder any more and reports currentFolderVanished().
class FolderTree : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Makes `folder` (absolute, decoded form) the current folder, opened up to
    // it and scrolled into view; false when it is not a folder. Reads only the
    // folders on the way, again each time, so it returns at once.
    bool selectFolder(const QString &folder);
    [[nodiscard]] QString currentFolder() const;
    [[nodiscard]] FolderTreeModel *folderModel() const { return m_model; }

signals:
    void folderSelected(const QString &path);
    // The current folder, `path`, was found gone from the disk.
    void currentFolderVanished(const QString &path);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void folderExpanded(const QModelIndex &index);
    void rowsGoing(const QModelIndex &parent, int first, int last);
    void rowsGone();
    void showStartOfLines();

    FolderTreeModel *m_model;
    bool m_selecting = false;
    QString m_vanishing; // the current folder while its row is being removed
};
