#include "FolderTreeModel.h"

#include "DirectoryListing.h"
#include "FileNameCodec.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

#include <algorithm>

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
}

FolderTreeModel::~FolderTreeModel() = default;

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
    const QByteArray prefix = node->path.endsWith('/') ? node->path : node->path + '/';
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

FolderTreeModel::Node *FolderTreeModel::childNamed(Node *node, const QByteArray &name)
{
    fetch(node);
    const QByteArray prefix = node->path.endsWith('/') ? node->path : node->path + '/';
    const QByteArray path = prefix + name;
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
    const auto pos = std::lower_bound(node->children.begin(), node->children.end(), child->name,
                                      [](const std::unique_ptr<Node> &n, const QString &key) {
                                          return lorvane::naturalLess(n->name, key);
                                      });
    const int row = int(pos - node->children.begin());
    beginInsertRows(indexOf(node), row, row);
    Node *raw = node->children.insert(pos, std::move(child))->get();
    for (size_t i = size_t(row); i < node->children.size(); ++i)
        node->children[i]->row = int(i);
    node->empty = false;
    endInsertRows();
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
        node = childNamed(node, part);
        if (!node)
            return {};
    }
    return indexOf(node);
}

void FolderTreeModel::reload(const QModelIndex &parent)
{
    Node *node = nodeOf(parent);
    if (!node->fetched || node == m_invisibleRoot.get())
        return;
    if (!node->children.empty()) {
        beginRemoveRows(parent, 0, int(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    node->fetched = false;
    node->empty = false;
}
