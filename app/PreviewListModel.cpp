#include "PreviewListModel.h"

#include "PreviewList.h"

PreviewListModel::PreviewListModel(lorvane::PreviewList &preview, QObject *parent)
    : QAbstractListModel(parent), m_preview(preview)
{
    connect(&m_preview, &lorvane::PreviewList::entriesReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&m_preview, &lorvane::PreviewList::entriesChanged, this, [this](int first, int last) {
        emit dataChanged(index(first), index(last), {Qt::DisplayRole});
    });
}

int PreviewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_preview.count();
}

QVariant PreviewListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_preview.count())
        return {};
    return m_preview.entry(index.row());
}
