#include "NameListView.h"

NameListView::NameListView(QWidget *parent) : QListView(parent) {}

QSize NameListView::measuredRowSize() const
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0)
        return {};
    return sizeHintForIndex(model()->index(rows - 1, modelColumn(), rootIndex()));
}

void NameListView::doItemsLayout()
{
    m_laidOutRowSize = measuredRowSize();
    QListView::doItemsLayout();
}

void NameListView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                               const QList<int> &roles)
{
    if (uniformItemSizes() && viewMode() == ListMode && m_laidOutRowSize.isValid() &&
        measuredRowSize() == m_laidOutRowSize) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QListView::dataChanged(topLeft, bottomRight, roles);
}
