#include "FolderTree.h"

#include "FolderTreeModel.h"

#include <QHeaderView>
#include <QScrollBar>

FolderTree::FolderTree(QWidget *parent) : QTreeView(parent), m_model(new FolderTreeModel(this))
{
    // Before the view's own connections: the selection model moves the current
    // row away from rows being removed, and that move must be known as such.
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &FolderTree::rowsGoing);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &FolderTree::rowsGone);
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

    connect(this, &QTreeView::expanded, this, &FolderTree::folderExpanded);
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex &index) { m_model->watch(index, false); });
}

bool FolderTree::selectFolder(const QString &folder)
{
    m_selecting = true;
    const QModelIndex index = m_model->indexForPath(folder);
    if (index.isValid()) {
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            expand(up);
        setCurrentIndex(index);
        scrollTo(index, QAbstractItemView::PositionAtCenter);
        showStartOfLines();
    }
    m_selecting = false;
    return index.isValid();
}

QString FolderTree::currentFolder() const
{
    return currentIndex().data(FolderTreeModel::PathRole).toString();
}

void FolderTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    // While the current folder's row is removed the view moves on to a
    // neighbour by itself; that is no choice of the user's.
    if (current.isValid() && m_vanishing.isEmpty())
        emit folderSelected(current.data(FolderTreeModel::PathRole).toString());
}

void FolderTree::folderExpanded(const QModelIndex &index)
{
    // selectFolder() has just read the folders on its way.
    if (!m_selecting)
        m_model->refresh(index);
    m_model->watch(index, true);
}

void FolderTree::rowsGoing(const QModelIndex &parent, int first, int last)
{
    for (QModelIndex at = currentIndex(); at.isValid(); at = at.parent()) {
        if (at.parent() == parent && at.row() >= first && at.row() <= last) {
            m_vanishing = currentFolder();
            return;
        }
    }
}

void FolderTree::rowsGone()
{
    if (m_vanishing.isEmpty())
        return;
    selectionModel()->clear();
    const QString gone = std::exchange(m_vanishing, {});
    emit currentFolderVanished(gone);
}

void FolderTree::showStartOfLines()
{
    // Scrolling a deep folder into view also scrolls sideways; the start of
    // the lines (the right edge, right to left) is where the top folders are.
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}
