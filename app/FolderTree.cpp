#include "FolderTree.h"

#include "FolderTreeModel.h"

#include <QHeaderView>

FolderTree::FolderTree(QWidget *parent) : QTreeView(parent), m_model(new FolderTreeModel(this))
{
    setModel(m_model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(true);
    // Deep folders must stay reachable in a narrow column.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool FolderTree::selectFolder(const QString &folder)
{
    const QModelIndex index = m_model->indexForPath(folder);
    if (!index.isValid())
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString FolderTree::currentFolder() const
{
    return currentIndex().data(FolderTreeModel::PathRole).toString();
}

void FolderTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    if (current.isValid())
        emit folderSelected(current.data(FolderTreeModel::PathRole).toString());
}
