#pragma once

#include <QTreeView>

class FolderTreeModel;

// The folder tree of the main window's left column: every folder from "/" on.
// Each change of the current folder is reported by folderSelected().
class FolderTree : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderTree(QWidget *parent = nullptr);

    // Makes `folder` (absolute, decoded form) the current folder, opened up to
    // it and scrolled into view; false when it is not a folder. Reads only the
    // folders on the way, so it returns at once.
    bool selectFolder(const QString &folder);
    [[nodiscard]] QString currentFolder() const;
    [[nodiscard]] FolderTreeModel *folderModel() const { return m_model; }

signals:
    void folderSelected(const QString &path);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    FolderTreeModel *m_model;
};
