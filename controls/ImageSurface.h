// The button's surface on a QImage: the retained picture that CmdButton shows
// and the render tool saves. Captions are drawn with the given font; drawing
// text needs a QGuiApplication, the solid primitives do not. An image with a
// device pixel ratio above 1 is drawn at that resolution: the button's pixels
// become blocks of device pixels and the captions are rasterised sharply.
#pragma once

#include "ButtonDrawing.h"
#include "ButtonSurface.h"

#include <QFont>
#include <QImage>

class QPalette;
class QColor;

namespace lorvane {

class ImageSurface final : public ButtonSurface
{
public:
    // Paints into `image`, which must outlive the surface.
    ImageSurface(QImage &image, const QFont &font);

    int width() const override;
    int height() const override;
    void clear() override;
    void fillRect(const Rect &rect, Colour colour) override;
    void setPixel(int x, int y, Colour colour) override;
    void setCaptionColour(Colour colour) override;
    void drawCaption(const QString &caption, const Rect &rect, int breakWidth) override;
    Size measureCaption(const QString &caption, int width) const override;
    SizeF measurePlainText(const QString &text) const override;
    void drawFocusRect(const Rect &rect) override;

private:
    int device(int coordinate) const;

    QImage &m_image;
    QFont m_font;
    qreal m_scale = 1;
    int m_width = 0;
    int m_height = 0;
    Colour m_captionColour = 0;
};

QColor toQColor(Colour colour);
Colour fromQColor(const QColor &colour);

// The button colours of scheme 1, taken from a palette (normally the
// application's): face Button, shadow Dark, text ButtonText, highlight Light,
// dark shadow Shadow, 3-D light Midlight (or halfway between Button and Light
// where the style's Midlight is darker than the face).
SystemColours systemColoursFrom(const QPalette &palette);

// Colour of device pixel (x, y) of the image as a Colour, for tests and tools.
Colour colourAt(const QImage &image, int x, int y);

} // namespace lorvane
