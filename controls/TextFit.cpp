#include "TextFit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace textfit {

namespace {

// Two lines of a frame, and a frame and what lies below it, keep at least
// this many pixels between them, so that no two texts touch.
constexpr int MinGap = 1;

// What a label, option or check box needs to show its text whole; an invalid
// size for every other widget, which keeps the size the design gave it.
QSize textNeed(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text().isEmpty() ? QSize() : label->sizeHint();
    const bool option = qobject_cast<const QRadioButton *>(w) != nullptr;
    if (!option && !qobject_cast<const QCheckBox *>(w))
        return QSize();
    // The size hint's height leaves room for a focus frame around the text;
    // the box itself needs its line of text or its indicator.
    const int indicator = w->style()->pixelMetric(
        option ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight, nullptr, w);
    return QSize(w->sizeHint().width(), std::max(w->fontMetrics().height(), indicator));
}

// Reading coordinates: x counts from the side where the parent's texts
// start, so that one piece of code fits right-to-left and left-to-right
// content alike. The mapping is its own inverse.
QRect reading(const QRect &r, const QWidget *parent)
{
    if (!parent || !parent->isRightToLeft())
        return r;
    return QRect(parent->width() - r.left() - r.width(), r.top(), r.width(), r.height());
}

bool explicitlyHidden(const QWidget *w)
{
    return w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

bool sameLine(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

struct Part
{
    QWidget *widget;
    QRect design; // in reading coordinates, as the design placed it
    QRect box;    // in reading coordinates, as fitted
    QSize need;   // invalid: the part keeps the design's size
};

// Free pixels between a part and the next one on its line in the design.
int designGap(const Part &before, const Part &after)
{
    return std::max(0, after.design.left() - before.design.right() - 1);
}

// Widths: each text grows at its reading end; then, from the last part of
// each line back to the first, a part that reaches into the next one (or
// past the frame) gives up what its text does not need, and then moves back.
void fitWidths(std::vector<Part> &parts, const QRect &inner)
{
    std::sort(parts.begin(), parts.end(),
              [](const Part &a, const Part &b) { return a.design.left() < b.design.left(); });
    for (Part &p : parts) {
        if (p.need.isValid())
            p.box.setWidth(std::max(p.box.width(), p.need.width()));
    }
    for (size_t i = parts.size(); i-- > 0;) {
        Part &p = parts[i];
        if (!p.need.isValid())
            continue;
        int end = inner.right();
        for (size_t j = i + 1; j < parts.size(); ++j) {
            const Part &next = parts[j];
            if (sameLine(p.box, next.box) && next.design.left() > p.design.right())
                end = std::min(end, next.box.left() - 1 - designGap(p, next));
        }
        if (p.box.right() <= end)
            continue;
        p.box.setWidth(std::max(p.need.width(), end - p.box.left() + 1));
        if (p.box.right() > end)
            p.box.moveRight(std::max(end, inner.left() + p.box.width() - 1));
    }
}

// Moves the lines below `line` (an index into the parts sorted by top) up by
// `by` pixels.
void raiseFrom(std::vector<Part> &parts, size_t line, int by)
{
    for (size_t i = line; i < parts.size(); ++i)
        parts[i].box.translate(0, -by);
}

// Each text takes the height it needs about its design centre.
void fitHeights(std::vector<Part> &parts)
{
    for (Part &p : parts) {
        if (!p.need.isValid())
            continue;
        const int centre = p.box.center().y();
        p.box.setTop(centre - p.need.height() / 2);
        p.box.setHeight(p.need.height());
    }
}

// The content goes below the style's title and, when it then passes the
// frame's bottom, closes up its lines and lets the frame grow into free room
// below it. Returns how far the frame grows.
int clearTitle(std::vector<Part> &parts, const QRect &inner, int roomBelow)
{
    std::sort(parts.begin(), parts.end(),
              [](const Part &a, const Part &b) { return a.box.top() < b.box.top(); });
    const int shift = inner.top() - parts.front().box.top();
    if (shift <= 0)
        return 0;
    for (Part &p : parts)
        p.box.translate(0, shift);

    int bottom = parts.front().box.bottom();
    for (const Part &p : parts)
        bottom = std::max(bottom, p.box.bottom());
    int overflow = bottom - inner.bottom();
    // Line starts, lowest first; a line is a run of parts whose boxes overlap
    // vertically.
    std::vector<size_t> lineStarts;
    int lineBottom = parts.front().box.bottom();
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].box.top() > lineBottom)
            lineStarts.push_back(i);
        lineBottom = std::max(lineBottom, parts[i].box.bottom());
    }
    for (auto line = lineStarts.rbegin(); overflow > 0 && line != lineStarts.rend(); ++line) {
        int above = parts.front().box.bottom();
        for (size_t i = 0; i < *line; ++i)
            above = std::max(above, parts[i].box.bottom());
        const int spare = parts[*line].box.top() - above - 1 - MinGap;
        const int by = std::min(overflow, spare);
        if (by > 0) {
            raiseFrom(parts, *line, by);
            overflow -= by;
        }
    }
    return std::clamp(overflow, 0, roomBelow);
}

// Pixels a widget can grow downwards without coming closer than MinGap to a
// widget below it; at its parent's bottom, the parent grows along where its
// size is free to change.
int roomBelow(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    if (!parent || w->isWindow())
        return 0;
    const QRect own = w->geometry();
    int limit = parent->height() - 1;
    if (parent->maximumHeight() > parent->height())
        limit += roomBelow(parent);
    for (const QWidget *other : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRect r = other->geometry();
        if (other == w || explicitlyHidden(other) || other->isWindow() || r.top() <= own.bottom() ||
            r.right() < own.left() || r.left() > own.right())
            continue;
        limit = std::min(limit, r.top() - 1 - MinGap);
    }
    return std::max(0, limit - own.bottom());
}

void growDown(QWidget *w, int by)
{
    w->resize(w->width(), w->height() + by);
    QWidget *parent = w->parentWidget();
    if (parent && !w->isWindow() && w->geometry().bottom() >= parent->height())
        growDown(parent, w->geometry().bottom() + 1 - parent->height());
}

} // namespace

void growToText(QWidget *widget)
{
    const QSize need = textNeed(widget);
    if (!need.isValid())
        return;
    const QWidget *parent = widget->parentWidget();
    QRect r = reading(widget->geometry(), parent);
    r.setWidth(std::max(r.width(), need.width()));
    if (need.height() > r.height()) {
        const int centre = r.center().y();
        r.setTop(centre - need.height() / 2);
        r.setHeight(need.height());
    }
    widget->setGeometry(reading(r, parent));
}

void fitFrame(QGroupBox *frame)
{
    std::vector<Part> parts;
    for (QWidget *w : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (explicitlyHidden(w) || w->isWindow())
            continue;
        const QRect r = reading(w->geometry(), frame);
        parts.push_back({w, r, r, textNeed(w)});
    }
    if (parts.empty())
        return;
    const QRect inner = reading(frame->contentsRect(), frame);
    fitHeights(parts);
    fitWidths(parts, inner);
    const int grow = clearTitle(parts, inner, roomBelow(frame));
    if (grow > 0)
        growDown(frame, grow);
    for (const Part &p : parts)
        p.widget->setGeometry(reading(p.box, frame));
}

} // namespace textfit
