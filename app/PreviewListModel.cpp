#include "PreviewListModel.h"

#include "NameItemDelegate.h"
#include "PreviewClashes.h"
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

void PreviewListModel::setClashes(PreviewClashes *clashes)
{
    m_clashes = clashes;
    connect(clashes, &PreviewClashes::marksChanged, this, [this](int first, int last) {
        // Rows past the end are gone already: a reset repaints everything.
        last = qMin(last, rowCount() - 1);
        if (first > last)
            return;
        emit dataChanged(index(first), index(last), {NameItemDelegate::ClashRole, Qt::ToolTipRole});
    });
}

int PreviewListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_preview.count();
}

QVariant PreviewListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_preview.count())
        return {};
    if (role == Qt::DisplayRole)
        return m_preview.entry(index.row());
    if (!m_clashes)
        return {};
    if (role == NameItemDelegate::ClashRole)
        return m_clashes->marks(index.row());
    if (role == Qt::ToolTipRole) {
        if (const quint8 marks = m_clashes->marks(index.row()))
            return PreviewClashes::reasons(marks);
    }
    return {};
}
