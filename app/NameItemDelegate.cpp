#include "NameItemDelegate.h"

#include "NameClashes.h"
#include "ShownName.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <cmath>

namespace {

// Space above and below the text of a row.
constexpr int RowPadding = 2;

enum class Severity { None, Numbered, Fails };

Severity severityOf(quint8 marks)
{
    if (marks & (lorvane::NameClash::NameTaken | lorvane::NameClash::NameRefused))
        return Severity::Fails;
    return marks ? Severity::Numbered : Severity::None;
}

// Saturated enough to read against white and against a dark base alike.
QColor accentOf(Severity severity)
{
    return severity == Severity::Fails ? QColor(0xE0, 0x30, 0x30) : QColor(0xE8, 0x9A, 0x00);
}

QColor mixed(const QColor &a, const QColor &b, double share)
{
    return QColor::fromRgbF(float(a.redF() * (1 - share) + b.redF() * share),
                            float(a.greenF() * (1 - share) + b.greenF() * share),
                            float(a.blueF() * (1 - share) + b.blueF() * share));
}

// The same picture in every mode: a disabled list must not grey the mark out.
QIcon markIcon(const QStyle *style, Severity severity, int side)
{
    const QIcon source = style->standardIcon(
        severity == Severity::Fails ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning);
    const QPixmap picture = source.pixmap(QSize(side, side));
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
        icon.addPixmap(picture, mode);
    return icon;
}

} // namespace

NameItemDelegate::NameItemDelegate(RowWidth width, QObject *parent)
    : QStyledItemDelegate(parent), m_width(width)
{}

QString NameItemDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return lorvane::isolatedName(value.toString());
}

int NameItemDelegate::rowHeight(const QFont &font) const
{
    if (m_measuredHeight >= 0 && font == m_measuredFont)
        return m_measuredHeight;
    // A line with Latin descenders and Arabic, which usually comes from a
    // fallback font with a taller ascent than the window's font.
    QTextLayout layout(QStringLiteral("Ágjy صورة ملفات"), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const double textHeight =
        qMax(line.ascent() + line.descent(), qreal(QFontMetrics(font).height()));
    m_measuredFont = font;
    m_measuredHeight = int(std::ceil(textHeight)) + 2 * RowPadding;
    return m_measuredHeight;
}

QSize NameItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (m_width == RowWidth::OfList)
        return QSize(1, rowHeight(option.font));
    const QSize text = QStyledItemDelegate::sizeHint(option, index);
    return QSize(text.width(), qMax(text.height(), rowHeight(option.font)));
}

void NameItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const Severity severity = severityOf(quint8(index.data(ClashRole).toUInt()));
    if (severity == Severity::None)
        return;
    const QStyle *style = option->widget ? option->widget->style() : QApplication::style();
    const int side = qMax(8, option->rect.height() - 2 * RowPadding);
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = markIcon(style, severity, side);
    option->decorationSize = QSize(side, side);
    option->backgroundBrush = mixed(option->palette.color(QPalette::Base), accentOf(severity), 0.3);
    // A marked name stays fully readable in a disabled list.
    option->palette.setColor(QPalette::Disabled, QPalette::Text,
                             option->palette.color(QPalette::Active, QPalette::Text));
}

void NameItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const Severity severity = severityOf(quint8(index.data(ClashRole).toUInt()));
    if (severity == Severity::None)
        return;
    const QRect r = option.rect;
    painter->fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), accentOf(severity));
}

QString NameItemDelegate::rowToolTip(QStyleOptionViewItem option, const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    initStyleOption(&option, index);
    const QWidget *widget = option.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    // The style draws the text this far inside its rectangle on either side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, widget);
    QStringList lines;
    if (option.fontMetrics.horizontalAdvance(option.text) > text.width() - 2 * margin)
        lines << option.text;
    const QString why = index.data(Qt::ToolTipRole).toString();
    if (!why.isEmpty())
        lines << why;
    if (lines.isEmpty())
        return {};
    // A tooltip that merely looks like markup is read as markup: a name such as
    // "<b>x</b>" must show its brackets, so the text is escaped rich text.
    return QStringLiteral("<p style=\"white-space:pre\">%1</p>")
        .arg(lines.join(u'\n').toHtmlEscaped());
}
