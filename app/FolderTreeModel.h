#pragma once

#include <QAbstractItemModel>
#include <QByteArray>
#include <QHash>
#include <QSet>

class QSocketNotifier;
class QTimer;

#include <memory>
#include <vector>

// The file system's folders from "/" down, read lazily one folder at a time
// when the view asks for its children. Each node keeps its exact on-disk path,
// so folders whose names are not valid UTF-8 can be shown and entered too.
// Hidden (dot) folders are not listed, but a path asked for by indexForPath()
// is always reachable, hidden parts included.
//
// What was read is kept up to date where the view asks for it: refresh() reads
// a folder again and changes only the rows that changed, so expanded sub-folders
// and the current folder keep their places; watch() follows a folder on disk
// (inotify, by its exact bytes) and refreshes it whenever a sub-folder appears,
// disappears or is renamed.
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

    // The node of an absolute folder path (decoded form), reading each folder
    // on the way again; an invalid index when the path does not lead to a folder.
    QModelIndex indexForPath(const QString &path);

    // Reads the sub-folders of `parent` again (or for the first time): rows of
    // folders that are gone are removed, new ones inserted in their place.
    void refresh(const QModelIndex &parent);

    // Follows `folder` on disk while `on`, refreshing it after every change of
    // its sub-folders. Folders that are removed stop being followed by themselves.
    void watch(const QModelIndex &folder, bool on);
    [[nodiscard]] bool isWatched(const QModelIndex &folder) const;

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void fetch(Node *node);
    void refreshNode(Node *node);
    void insertChild(Node *node, std::unique_ptr<Node> child);
    void removeChildren(Node *node, int first, int last);
    Node *childNamed(Node *node, const QByteArray &name);
    Node *findNode(const QByteArray &path) const;
    void readWatchEvents();
    void refreshChangedFolders();

    std::unique_ptr<Node> m_invisibleRoot;
    int m_inotify = -1;
    QSocketNotifier *m_notifier = nullptr;
    QHash<int, QByteArray> m_watchedPaths; // watch descriptor -> folder
    QHash<QByteArray, int> m_watches;      // folder -> watch descriptor
    QSet<QByteArray> m_changed;            // folders waiting to be read again
    QTimer *m_changeTimer = nullptr;
};
