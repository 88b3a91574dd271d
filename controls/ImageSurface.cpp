#include "ImageSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace lorvane {

namespace {

constexpr int captionFlags =
    Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic | Qt::TextDontClip;
// Measured flush left: a centred measurement rounds the fractional offset into
// the width, which then depends on the width offered.
constexpr int measureFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

QRgb toRgb(Colour c)
{
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

} // namespace

ImageSurface::ImageSurface(QImage &image, const QFont &font)
    : m_image(image), m_font(font), m_scale(image.devicePixelRatio())
{
    // The primitives write whole 32-bit pixels.
    if (m_image.format() != QImage::Format_RGB32 && m_image.format() != QImage::Format_ARGB32)
        m_image = m_image.convertToFormat(QImage::Format_ARGB32);
    // An image made for a fractional ratio is rounded up to whole device
    // pixels; the button itself is the whole pixels inside it.
    m_width = int(std::floor(m_image.width() / m_scale + 1e-6));
    m_height = int(std::floor(m_image.height() / m_scale + 1e-6));
}

int ImageSurface::width() const
{
    return m_width;
}

int ImageSurface::height() const
{
    return m_height;
}

int ImageSurface::device(int coordinate) const
{
    return int(std::lround(coordinate * m_scale));
}

void ImageSurface::clear()
{
    m_image.fill(Qt::black);
}

void ImageSurface::fillRect(const Rect &rect, Colour colour)
{
    // Each edge is rounded on its own, so neighbouring pixels share their
    // device edges and every line keeps one width along its length.
    const int left = device(std::max(rect.left, 0));
    const int top = device(std::max(rect.top, 0));
    const int right = std::min(device(std::min(rect.right, m_width)), m_image.width());
    const int bottom = std::min(device(std::min(rect.bottom, m_height)), m_image.height());
    const QRgb rgb = toRgb(colour);
    for (int y = top; y < bottom; ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        std::fill(line + left, line + std::max(left, right), rgb);
    }
}

void ImageSurface::setPixel(int x, int y, Colour colour)
{
    fillRect({x, y, x + 1, y + 1}, colour);
}

void ImageSurface::setCaptionColour(Colour colour)
{
    m_captionColour = colour;
}

void ImageSurface::drawCaption(const QString &caption, const Rect &rect, int breakWidth)
{
    if (caption.isEmpty() || m_image.isNull())
        return;
    // Laid out at the width it was measured at, centred where rect is: the
    // widest line's whole-pixel width can be a fraction narrower than that
    // line, and breaking at it would push a word onto a line of its own.
    const qreal centre = rect.left + rect.width() / 2.0;
    const qreal width = std::max(breakWidth, 0);
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(toQColor(m_captionColour));
    painter.drawText(QRectF(centre - width / 2, rect.top, width, rect.height()), captionFlags,
                     caption);
}

Size ImageSurface::measureCaption(const QString &caption, int width) const
{
    if (caption.isEmpty())
        return {};
    // Measured against the image so that the resolution matches the drawing.
    const QFontMetrics metrics =
        m_image.isNull() ? QFontMetrics(m_font) : QFontMetrics(m_font, &m_image);
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, std::max(width, 0), 1 << 20), measureFlags, caption);
    return {bounds.width(), bounds.height()};
}

SizeF ImageSurface::measurePlainText(const QString &text) const
{
    const QFontMetricsF metrics =
        m_image.isNull() ? QFontMetricsF(m_font) : QFontMetricsF(m_font, &m_image);
    const QSizeF size = metrics.size(0, text);
    return {size.width(), size.height()};
}

void ImageSurface::drawFocusRect(const Rect &rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    // The dots follow one checkerboard over the whole surface, so the four sides
    // meet without doubled dots.
    auto invert = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height || (x + y) % 2 != 0)
            return;
        const int right = std::min(device(x + 1), m_image.width());
        const int bottom = std::min(device(y + 1), m_image.height());
        for (int dy = device(y); dy < bottom; ++dy) {
            auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(dy));
            for (int dx = device(x); dx < right; ++dx)
                line[dx] ^= 0x00FFFFFF;
        }
    };
    for (int x = rect.left; x < rect.right; ++x) {
        invert(x, rect.top);
        if (rect.bottom - 1 != rect.top)
            invert(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        invert(rect.left, y);
        if (rect.right - 1 != rect.left)
            invert(rect.right - 1, y);
    }
}

QColor toQColor(Colour colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

Colour fromQColor(const QColor &colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

SystemColours systemColoursFrom(const QPalette &palette)
{
    SystemColours s;
    s.buttonFace = fromQColor(palette.color(QPalette::Active, QPalette::Button));
    s.buttonShadow = fromQColor(palette.color(QPalette::Active, QPalette::Dark));
    s.buttonText = fromQColor(palette.color(QPalette::Active, QPalette::ButtonText));
    s.buttonHighlight = fromQColor(palette.color(QPalette::Active, QPalette::Light));
    s.darkShadow3D = fromQColor(palette.color(QPalette::Active, QPalette::Shadow));
    // The 3-D light lies between the face and the highlight. Some styles (Fusion)
    // give a Midlight darker than the face, which would turn the light faces of
    // types 4 and 6 grey; those get the halfway colour instead.
    const QColor face = palette.color(QPalette::Active, QPalette::Button);
    const QColor light = palette.color(QPalette::Active, QPalette::Light);
    const QColor midlight = palette.color(QPalette::Active, QPalette::Midlight);
    if (midlight.lightness() >= face.lightness())
        s.light3D = fromQColor(midlight);
    else
        s.light3D = RGB((face.red() + light.red()) / 2, (face.green() + light.green()) / 2,
                        (face.blue() + light.blue()) / 2);
    return s;
}

Colour colourAt(const QImage &image, int x, int y)
{
    return fromQColor(QColor(image.pixel(x, y)));
}

} // namespace lorvane
