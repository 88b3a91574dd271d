#pragma once

#include <QListView>

// The view of File1 and List1: one name per row, every row the same size.
//
// QListView lays every row out again after any change of data, which over
// 1,000,000 rows costs more than the change itself. With rows of one size the
// layout depends only on the row count, the hidden rows and the size of the
// one row it measures (the last), and a change of data alters none of the
// first two; so as long as the measured row keeps its size, a change needs
// only the repaint, the editor update and the accessibility event that every
// item view gives it.
class NameListView : public QListView
{
    Q_OBJECT

public:
    explicit NameListView(QWidget *parent = nullptr);

    void doItemsLayout() override;

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    [[nodiscard]] QSize measuredRowSize() const;

    QSize m_laidOutRowSize;
};
