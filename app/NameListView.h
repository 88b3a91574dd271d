#pragma once

#include <QListView>

class QHelpEvent;
class QScrollBar;

// The view of File1 and List1: one name per row, every row the same size,
// painted by a NameItemDelegate.
//
// Both lists stay disabled most of the time (greyed, nothing can be
// selected), yet a person must be able to read every row before executing: so
// the list's scroll bar is not its own child, which a disabled list would
// disable too, but a sibling lying over the list's edge, and the mouse wheel
// over a disabled list still scrolls it.
//
// QListView lays every row out again after any change of data, which over
// 1,000,000 rows costs more than the change itself. With rows of one size the
// layout depends only on the row count, the hidden rows and the size of the
// one row it measures (the last), and a change of data alters none of the
// first two; so as long as the measured row keeps its size, a change needs
// only the repaint of the rows on screen (the lists have no editors).
class NameListView : public QListView
{
    Q_OBJECT

public:
    // `parent` also holds the scroll bar.
    explicit NameListView(QWidget *parent);

    // Always usable, whether the list is enabled or not.
    [[nodiscard]] QScrollBar *scrollBar() const { return m_bar; }

    void doItemsLayout() override;

    // The tooltip of the row at `pos` (viewport coordinates), as
    // NameItemDelegate::rowToolTip gives it.
    [[nodiscard]] QString rowToolTipAt(const QPoint &pos) const;

protected:
    bool event(QEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void updateGeometries() override;
    bool viewportEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    [[nodiscard]] QSize measuredRowSize() const;
    bool showRowToolTip(const QHelpEvent &help, const QPoint &pos);
    void placeScrollBar();

    QSize m_laidOutRowSize;
    QScrollBar *m_bar;
};
