#pragma once

#include <QFont>
#include <QStyledItemDelegate>

// Paints one file name per row, for the folder list, the preview and the folder
// tree:
// - the name as a person must read it (ShownName.h): control and bidi formatting
//   characters as visible marks, laid out in its own direction inside the
//   right-to-left window;
// - one row height for every list, from the font's ascent and descent (those of
//   the fallback fonts Arabic names need included), whatever the rows hold;
// - where the model answers ClashRole, the row's clash marks (NameClashes.h): a
//   tinted row, an icon at its start and a line under it, in colours that stand
//   out in light and dark palettes alike and also while the list is disabled;
// - a name too long for its row is shortened in the middle, and whole in the
//   row's tooltip.
class NameItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The NameClash bits of a row (quint8); no data means no marks.
    static constexpr int ClashRole = Qt::UserRole + 100;

    // A list's rows are as wide as the list, so that a name too long for it is
    // shortened in the middle rather than cut off at its end; a tree's rows are as
    // wide as their text, for its columns to fit them.
    enum class RowWidth { OfList, OfText };

    explicit NameItemDelegate(RowWidth width, QObject *parent = nullptr);

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // The height of every row for this font.
    [[nodiscard]] int rowHeight(const QFont &font) const;

    // What the row's tooltip says, as rich text: the whole name where the row
    // shows it shortened, then why the row is marked. Empty when neither.
    // `option` is the view's option for the row, its rect included.
    [[nodiscard]] QString rowToolTip(QStyleOptionViewItem option, const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    RowWidth m_width;
    mutable QFont m_measuredFont;
    mutable int m_measuredHeight = -1;
};
