#pragma once

#include <QAbstractItemModel>
#include <QByteArray>

#include <memory>
#include <vector>

// The file system's folders from "/" down, read lazily one folder at a time
// when the view asks for its children. Each node keeps its exact on-disk path,
// so folders whose names are not valid UTF-8 can be shown and entered too.
// Hidden (dot) folders are not listed, but a path asked for by indexForPath()
// is always reachable, hidden parts included.
class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role {
        PathRole = Qt::UserRole + 1, // the folder's full path, decoded (QString)
        PathBytesRole,               // the folder's full path, exact bytes (QByteArray)
    };

    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    // The node of an absolute folder path (decoded form), reading the folders
    // on the way; an invalid index when the path does not lead to a folder.
    QModelIndex indexForPath(const QString &path);

    // Forgets what was read below `parent`, so that it is read again.
    void reload(const QModelIndex &parent);

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void fetch(Node *node);
    Node *childNamed(Node *node, const QByteArray &name);

    std::unique_ptr<Node> m_invisibleRoot;
};
