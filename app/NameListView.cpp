#include "NameListView.h"

#include "NameItemDelegate.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

NameListView::NameListView(QWidget *parent)
    : QListView(parent), m_bar(new QScrollBar(Qt::Vertical, parent))
{
    setItemDelegate(new NameItemDelegate(NameItemDelegate::RowWidth::OfList, this));
    // The list's own bars stay hidden: the vertical one still keeps the range and
    // position, which the outside bar shows; names too wide are shortened instead.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_bar->hide();
    QScrollBar *own = verticalScrollBar();
    connect(own, &QScrollBar::valueChanged, m_bar, &QScrollBar::setValue);
    connect(m_bar, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
    connect(own, &QScrollBar::rangeChanged, this, [this](int min, int max) {
        m_bar->setRange(min, max);
        placeScrollBar();
    });
}

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
    if (!uniformItemSizes() || viewMode() != ListMode || !m_laidOutRowSize.isValid() ||
        measuredRowSize() != m_laidOutRowSize) {
        QListView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // The item view finds the area to repaint by asking every changed row for its
    // rectangle, which over 100,000 rows costs more than the rules that changed
    // them. Only the rows on screen need a repaint, and the lists have no editors.
    const int x = viewport()->width() / 2;
    const QModelIndex top = indexAt(QPoint(x, 0));
    if (!top.isValid() || topLeft.parent() != top.parent()) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QModelIndex bottom = indexAt(QPoint(x, viewport()->height() - 1));
    if (!bottom.isValid())
        bottom = model()->index(model()->rowCount(rootIndex()) - 1, modelColumn(), rootIndex());
    const int first = qMax(topLeft.row(), top.row());
    const int last = qMin(bottomRight.row(), bottom.row());
    if (first > last)
        return;
    QAbstractItemView::dataChanged(topLeft.siblingAtRow(first), bottomRight.siblingAtRow(last),
                                   roles);
}

void NameListView::updateGeometries()
{
    QListView::updateGeometries();
    const QScrollBar *own = verticalScrollBar();
    m_bar->setPageStep(own->pageStep());
    m_bar->setSingleStep(own->singleStep());
    m_bar->setValue(own->value());
}

QString NameListView::rowToolTipAt(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return static_cast<NameItemDelegate *>(itemDelegate())->rowToolTip(option, index);
}

bool NameListView::showRowToolTip(const QHelpEvent &help, const QPoint &pos)
{
    const QString tip = rowToolTipAt(pos);
    if (tip.isEmpty())
        return false;
    QToolTip::showText(help.globalPos(), tip, this);
    return true;
}

bool NameListView::event(QEvent *event)
{
    // A disabled list gets the tooltip event itself, not through its rows; a row
    // still says what it says in an enabled list.
    if (event->type() == QEvent::ToolTip && !isEnabled()) {
        const auto &help = *static_cast<QHelpEvent *>(event);
        if (showRowToolTip(help, viewport()->mapFrom(this, help.pos())))
            return true;
    }
    return QListView::event(event);
}

bool NameListView::viewportEvent(QEvent *event)
{
    // A row with nothing to say leaves the list's own tooltip.
    if (event->type() == QEvent::ToolTip) {
        const auto &help = *static_cast<QHelpEvent *>(event);
        if (showRowToolTip(help, help.pos()))
            return true;
    }
    // A disabled widget ignores the wheel; its outside bar does not.
    if (event->type() == QEvent::Wheel && !isEnabled() && m_bar->isVisible())
        return QCoreApplication::sendEvent(m_bar, event);
    return QListView::viewportEvent(event);
}

void NameListView::placeScrollBar()
{
    const bool needed = isVisible() && m_bar->maximum() > m_bar->minimum();
    const int extent = needed ? m_bar->sizeHint().width() : 0;
    // The bar lies at the list's start edge, as the window system puts it: at the
    // left in a right-to-left window.
    const bool rightToLeft = isRightToLeft();
    setViewportMargins(rightToLeft ? extent : 0, 0, rightToLeft ? 0 : extent, 0);
    if (!needed) {
        m_bar->hide();
        return;
    }
    const int frame = frameWidth();
    const QRect inner = geometry().adjusted(frame, frame, -frame, -frame);
    m_bar->setGeometry(rightToLeft ? inner.left() : inner.right() - extent + 1, inner.top(), extent,
                       inner.height());
    m_bar->raise();
    m_bar->show();
}

void NameListView::moveEvent(QMoveEvent *event)
{
    QListView::moveEvent(event);
    placeScrollBar();
}

void NameListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    placeScrollBar();
}

void NameListView::showEvent(QShowEvent *event)
{
    QListView::showEvent(event);
    placeScrollBar();
}

void NameListView::hideEvent(QHideEvent *event)
{
    QListView::hideEvent(event);
    m_bar->hide();
}
