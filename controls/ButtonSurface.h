// The drawing surface the button paints on, reduced to what its looks need:
// solid one-pixel rectangles and pixels, caption text with centring, word
// breaking and mnemonic underlining, text measurement and an inverting dotted
// focus frame. The looks themselves (ButtonDrawing.h) know nothing else of the
// platform, so they can be drawn into an in-memory image and checked pixel by
// pixel.
#pragma once

#include <cstdint>

class QString;

namespace lorvane {

// A colour as the button's properties store it: red + 256 * green + 65536 * blue.
// Signed like the 32-bit integers it is saved as; the upper byte is ignored when
// painting.
using Colour = std::int32_t;

constexpr Colour RGB(int r, int g, int b)
{
    return static_cast<Colour>(r + 256 * g + 65536 * b);
}
constexpr int redOf(Colour c)
{
    return c & 0xFF;
}
constexpr int greenOf(Colour c)
{
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Colour c)
{
    return (c >> 16) & 0xFF;
}

// Right and bottom are exclusive.
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect &, const Rect &) = default;
};

struct Point
{
    int x = 0;
    int y = 0;
    friend bool operator==(const Point &, const Point &) = default;
};

struct Size
{
    int width = 0;
    int height = 0;
    friend bool operator==(const Size &, const Size &) = default;
};

struct SizeF
{
    double width = 0;
    double height = 0;
};

class ButtonSurface
{
public:
    virtual ~ButtonSurface() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Coordinates are the button's own pixels. A surface with a finer resolution
    // (a high-density screen) paints each of them as a block of device pixels.
    // Everything outside the surface is silently dropped by every primitive.
    virtual void clear() = 0;
    virtual void fillRect(const Rect &rect, Colour colour) = 0;
    virtual void setPixel(int x, int y, Colour colour) = 0;

    // The colour the next captions are drawn in.
    virtual void setCaptionColour(Colour colour) = 0;
    // Draws the caption without background, lines broken between words at
    // breakWidth exactly as measureCaption(caption, breakWidth) breaks them,
    // each line centred on rect's centre, starting at rect's top, not clipped.
    // A single "&" is hidden and underlines the next character; "&&" shows one "&".
    virtual void drawCaption(const QString &caption, const Rect &rect, int breakWidth) = 0;
    // Width of the widest line and height of all lines of the caption when it is
    // broken at `width` with the rules of drawCaption, in whole pixels.
    virtual Size measureCaption(const QString &caption, int width) const = 0;
    // Size of the text with one line per line break, no word breaking and "&"
    // counted as an ordinary character, in fractional pixels.
    virtual SizeF measurePlainText(const QString &text) const = 0;
    // Inverts every other pixel of the one-pixel frame on rect's inner edge.
    virtual void drawFocusRect(const Rect &rect) = 0;
};

} // namespace lorvane
