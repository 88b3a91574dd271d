#include "FolderTreeModel.h"

#include "DirectoryListing.h"
#include "FileNameCodec.h"

#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <utility>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// A burst of changes (a folder unpacked, many folders moved) is read once.
constexpr int changeDelayMs = 100;

QByteArray childPrefix(const QByteArray &folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

} // namespace

struct FolderTreeModel::Node
{
    Node *parent = nullptr;
    int row = 0;
    QByteArray path; // exact bytes
    QString name;    // decoded, shown
    bool fetched = false;
    bool empty = false; // fetched and found without sub-folders
    std::vector<std::unique_ptr<Node>> children;
};

FolderTreeModel::FolderTreeModel(QObject *parent)
    : QAbstractItemModel(parent), m_invisibleRoot(std::make_unique<Node>())
{
    auto root = std::make_unique<Node>();
    root->parent = m_invisibleRoot.get();
    root->path = "/";
    root->name = QStringLiteral("/");
    m_invisibleRoot->children.push_back(std::move(root));
    m_invisibleRoot->fetched = true;

    m_changeTimer = new QTimer(this);
    m_changeTimer->setSingleShot(true);
    m_changeTimer->setInterval(changeDelayMs);
    connect(m_changeTimer, &QTimer::timeout, this, &FolderTreeModel::refreshChangedFolders);
    // Without inotify the tree is still read again on every expand.
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderTreeModel::readWatchEvents);
    }
}

FolderTreeModel::~FolderTreeModel()
{
    if (m_inotify >= 0)
        ::close(m_inotify);
}

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_invisibleRoot.get();
    return static_cast<Node *>(index.internalPointer());
}

QModelIndex FolderTreeModel::indexOf(Node *node) const
{
    if (!node || node == m_invisibleRoot.get())
        return {};
    return createIndex(node->row, 0, node);
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    return indexOf(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Node *node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::ToolTipRole:
    case PathRole:
        return lorvane::decodeFileName(node->path);
    case PathBytesRole:
        return node->path;
    case Qt::DecorationRole: {
        static const QIcon folderIcon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
        return folderIcon;
    }
    default:
        return {};
    }
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    if (!node->fetched)
        return !node->empty; // not read yet: offer to expand it
    return !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return !nodeOf(parent)->fetched;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    fetch(nodeOf(parent));
}

void FolderTreeModel::fetch(Node *node)
{
    if (node->fetched)
        return;
    node->fetched = true;
    lorvane::DirListing listing = lorvane::listDirectory(node->path, lorvane::EntryKind::Folders);
    if (listing.entries.empty()) {
        node->empty = true;
        const QModelIndex index = indexOf(node);
        emit dataChanged(index, index); // the expand mark goes away
        return;
    }
    const QByteArray prefix = childPrefix(node->path);
    beginInsertRows(indexOf(node), 0, int(listing.entries.size()) - 1);
    node->children.reserve(listing.entries.size());
    for (lorvane::DirEntry &entry : listing.entries) {
        auto child = std::make_unique<Node>();
        child->parent = node;
        child->row = int(node->children.size());
        child->path = prefix + entry.bytes();
        child->name = std::move(entry.name);
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

void FolderTreeModel::refreshNode(Node *node)
{
    if (!node->fetched) {
        fetch(node);
        return;
    }
    lorvane::DirListing listing = lorvane::listDirectory(node->path, lorvane::EntryKind::Folders);
    const QByteArray prefix = childPrefix(node->path);
    QSet<QByteArray> listed;
    listed.reserve(qsizetype(listing.entries.size()));
    for (const lorvane::DirEntry &entry : listing.entries)
        listed.insert(prefix + entry.bytes());

    // Gone: every child neither listed nor a hidden folder that is still there
    // (those were put in because someone asked for them by name). Removed from
    // the back, one run of neighbouring rows at a time.
    auto kept = [&](const Node *child) {
        return listed.contains(child->path) ||
               (child->name.startsWith(u'.') && lorvane::isDirectory(child->path));
    };
    for (int last = int(node->children.size()) - 1; last >= 0; --last) {
        if (kept(node->children[size_t(last)].get()))
            continue;
        int first = last;
        while (first > 0 && !kept(node->children[size_t(first - 1)].get()))
            --first;
        removeChildren(node, first, last);
        last = first;
    }

    QSet<QByteArray> present;
    for (const auto &child : node->children)
        present.insert(child->path);
    for (lorvane::DirEntry &entry : listing.entries) {
        QByteArray path = prefix + entry.bytes();
        if (present.contains(path))
            continue;
        auto child = std::make_unique<Node>();
        child->parent = node;
        child->path = std::move(path);
        child->name = std::move(entry.name);
        insertChild(node, std::move(child));
    }

    const bool empty = node->children.empty();
    if (empty != node->empty) {
        node->empty = empty;
        const QModelIndex index = indexOf(node);
        emit dataChanged(index, index);
    }
}

void FolderTreeModel::insertChild(Node *node, std::unique_ptr<Node> child)
{
    const auto pos = std::lower_bound(node->children.begin(), node->children.end(), child->name,
                                      [](const std::unique_ptr<Node> &n, const QString &key) {
                                          return lorvane::naturalLess(n->name, key);
                                      });
    const int row = int(pos - node->children.begin());
    beginInsertRows(indexOf(node), row, row);
    node->children.insert(pos, std::move(child));
    for (size_t i = size_t(row); i < node->children.size(); ++i)
        node->children[i]->row = int(i);
    node->empty = false;
    endInsertRows();
}

void FolderTreeModel::removeChildren(Node *node, int first, int last)
{
    // A watched folder that is gone stops being watched by the kernel itself;
    // one that was moved away must be let go here.
    for (int row = first; row <= last; ++row) {
        const QByteArray prefix = childPrefix(node->children[size_t(row)]->path);
        const QByteArray path = node->children[size_t(row)]->path;
        for (auto it = m_watches.begin(); it != m_watches.end();) {
            if (it.key() != path && !it.key().startsWith(prefix)) {
                ++it;
                continue;
            }
            ::inotify_rm_watch(m_inotify, it.value());
            m_watchedPaths.remove(it.value());
            it = m_watches.erase(it);
        }
    }
    beginRemoveRows(indexOf(node), first, last);
    node->children.erase(node->children.begin() + first, node->children.begin() + last + 1);
    for (size_t i = size_t(first); i < node->children.size(); ++i)
        node->children[i]->row = int(i);
    endRemoveRows();
}

FolderTreeModel::Node *FolderTreeModel::childNamed(Node *node, const QByteArray &name)
{
    const QByteArray path = childPrefix(node->path) + name;
    for (const auto &child : node->children) {
        if (child->path == path)
            return child.get();
    }
    // Hidden folders are not listed, but one that the caller asks for by name
    // is put in its place in the order.
    if (!lorvane::isDirectory(path))
        return nullptr;
    auto child = std::make_unique<Node>();
    child->parent = node;
    child->path = path;
    child->name = lorvane::decodeFileName(name);
    Node *raw = child.get();
    insertChild(node, std::move(child));
    return raw;
}

QModelIndex FolderTreeModel::indexForPath(const QString &path)
{
    if (!path.startsWith(u'/'))
        return {};
    const QByteArray bytes = lorvane::encodeFileName(QDir::cleanPath(path));
    Node *node = m_invisibleRoot->children.front().get();
    for (const QByteArray &part : bytes.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        refreshNode(node);
        node = childNamed(node, part);
        if (!node)
            return {};
    }
    return indexOf(node);
}

void FolderTreeModel::refresh(const QModelIndex &parent)
{
    Node *node = nodeOf(parent);
    if (node != m_invisibleRoot.get())
        refreshNode(node);
}

FolderTreeModel::Node *FolderTreeModel::findNode(const QByteArray &path) const
{
    Node *node = m_invisibleRoot->children.front().get();
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty())
            continue;
        const QByteArray childPath = childPrefix(node->path) + part;
        const auto it = std::find_if(
            node->children.begin(), node->children.end(),
            [&](const std::unique_ptr<Node> &child) { return child->path == childPath; });
        if (it == node->children.end())
            return nullptr;
        node = it->get();
    }
    return node;
}

void FolderTreeModel::watch(const QModelIndex &folder, bool on)
{
    if (m_inotify < 0 || !folder.isValid())
        return;
    const QByteArray path = nodeOf(folder)->path;
    if (!on) {
        const auto it = m_watches.find(path);
        if (it == m_watches.end())
            return;
        ::inotify_rm_watch(m_inotify, it.value());
        m_watchedPaths.remove(it.value());
        m_watches.erase(it);
        return;
    }
    if (m_watches.contains(path))
        return;
    // Only sub-folders matter: files coming and going inside an expanded
    // folder wake nothing up, since their events carry no IN_ISDIR.
    const int wd = ::inotify_add_watch(m_inotify, path.constData(),
                                       IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                           IN_ONLYDIR | IN_DONT_FOLLOW);
    if (wd < 0)
        return;
    m_watchedPaths.insert(wd, path);
    m_watches.insert(path, wd);
}

bool FolderTreeModel::isWatched(const QModelIndex &folder) const
{
    return folder.isValid() && m_watches.contains(nodeOf(folder)->path);
}

void FolderTreeModel::readWatchEvents()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_inotify, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_IGNORED) {
                m_watches.remove(m_watchedPaths.take(event->wd));
                continue;
            }
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost: every followed folder is read again.
                for (const QByteArray &path : std::as_const(m_watchedPaths))
                    m_changed.insert(path);
                continue;
            }
            if ((event->mask & IN_ISDIR) == 0)
                continue;
            const auto it = m_watchedPaths.constFind(event->wd);
            if (it != m_watchedPaths.constEnd())
                m_changed.insert(it.value());
        }
    }
    if (!m_changed.isEmpty() && !m_changeTimer->isActive())
        m_changeTimer->start();
}

void FolderTreeModel::refreshChangedFolders()
{
    const QSet<QByteArray> changed = std::exchange(m_changed, {});
    for (const QByteArray &path : changed) {
        if (Node *node = findNode(path))
            refreshNode(node);
    }
}
