// A surface for pixel tests of the looks: a plain grid of colours with
// captions recorded instead of rasterised, so that every painted pixel can be
// checked without a font. Captions measure 6 pixels per character and 13 per
// line (no word breaking; "&" before a character is not counted).
#pragma once

#include "ButtonSurface.h"

#include <QString>

#include <vector>

namespace lorvane::testing {

struct CaptionCall
{
    QString text;
    Rect rect;
    Colour colour;
};

class PixelSurface final : public ButtonSurface
{
public:
    PixelSurface(int width, int height);

    int width() const override { return m_width; }
    int height() const override { return m_height; }
    void clear() override;
    void fillRect(const Rect &rect, Colour colour) override;
    void setPixel(int x, int y, Colour colour) override;
    void setCaptionColour(Colour colour) override { m_captionColour = colour; }
    void drawCaption(const QString &caption, const Rect &rect, int breakWidth) override;
    Size measureCaption(const QString &caption, int width) const override;
    SizeF measurePlainText(const QString &text) const override;
    void drawFocusRect(const Rect &rect) override;

    // Colour at (x, y); -1 for a pixel never painted since the last clear.
    Colour at(int x, int y) const;
    const std::vector<CaptionCall> &captions() const { return m_captions; }
    const std::vector<Rect> &focusRects() const { return m_focusRects; }

private:
    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
    Colour m_captionColour = 0;
    std::vector<CaptionCall> m_captions;
    std::vector<Rect> m_focusRects;
};

} // namespace lorvane::testing
