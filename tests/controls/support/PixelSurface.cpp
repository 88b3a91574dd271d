#include "PixelSurface.h"

#include <algorithm>

namespace lorvane::testing {

PixelSurface::PixelSurface(int width, int height)
    : m_width(width), m_height(height), m_pixels(std::size_t(width) * height, -1)
{}

void PixelSurface::clear()
{
    std::fill(m_pixels.begin(), m_pixels.end(), -1);
    m_captions.clear();
    m_focusRects.clear();
}

void PixelSurface::fillRect(const Rect &rect, Colour colour)
{
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, m_height); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, m_width); ++x)
            m_pixels[std::size_t(y) * m_width + x] = colour;
}

void PixelSurface::setPixel(int x, int y, Colour colour)
{
    fillRect({x, y, x + 1, y + 1}, colour);
}

void PixelSurface::drawCaption(const QString &caption, const Rect &rect, int)
{
    m_captions.push_back({caption, rect, m_captionColour});
}

Size PixelSurface::measureCaption(const QString &caption, int) const
{
    if (caption.isEmpty())
        return {};
    QString shown = caption;
    shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    shown.remove(QLatin1Char('&'));
    return {6 * int(shown.size()), 13};
}

SizeF PixelSurface::measurePlainText(const QString &text) const
{
    return {6.5 * double(text.size()), 13.0};
}

void PixelSurface::drawFocusRect(const Rect &rect)
{
    m_focusRects.push_back(rect);
}

Colour PixelSurface::at(int x, int y) const
{
    return m_pixels.at(std::size_t(y) * m_width + x);
}

} // namespace lorvane::testing
