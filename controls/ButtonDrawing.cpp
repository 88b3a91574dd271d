#include "ButtonDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lorvane {

namespace {

int clampChannel(int v)
{
    return std::clamp(v, 0, 255);
}

Colour Shade(Colour c, int delta)
{
    return ShadeColor(c, delta, false);
}

Colour ShadePct(Colour c, int delta)
{
    return ShadeColor(c, delta, true);
}

// Perceived brightness, 0..255 (ITU-R BT.601 weights).
int brightness(Colour c)
{
    return (299 * redOf(c) + 587 * greenOf(c) + 114 * blueOf(c)) / 1000;
}

// Rounds to the nearest integer, halves to even.
int roundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

// The drawing context's pen position: every LineTo continues where the previous
// one ended, and the end point is left for the next segment.
class Pen
{
public:
    explicit Pen(ButtonSurface &surface) : m_surface(surface) {}
    void moveTo(int x, int y) { m_at = {x, y}; }
    void lineTo(int x, int y, Colour colour)
    {
        DrawLine(m_surface, m_at.x, m_at.y, x, y, colour);
        m_at = {x, y};
    }

private:
    ButtonSurface &m_surface;
    Point m_at;
};

struct Painter
{
    ButtonSurface &s;
    const ButtonLook &look;
    const ButtonPalette &p;
    int W;
    int H;

    void box(int x, int y, int w, int h, Colour c, bool fill) { DrawBox(s, x, y, w, h, c, fill); }
    void line(int x1, int y1, int x2, int y2, Colour c) { DrawLine(s, x1, y1, x2, y2, c); }
    void pixel(int x, int y, Colour c) { s.setPixel(x, y, c); }
    void bevel(Colour c1, Colour c2, Colour c3, Colour c4, int inset)
    {
        DrawBevel(s, c1, c2, c3, c4, inset, false);
    }
    void outerBevel(Colour c1, Colour c2) { DrawBevel(s, c1, c2, 0, 0, 0, true); }
    void caption(const Rect &r) { s.drawCaption(look.caption, r, look.captionBreakWidth); }
    void colour(Colour c) { s.setCaptionColour(c); }
    void cornerPoints(Colour c)
    {
        pixel(1, 1, c);
        pixel(1, H - 2, c);
        pixel(W - 2, 1, c);
        pixel(W - 2, H - 2, c);
    }
    void focus()
    {
        if (!look.hasFocus || !look.showFocusRect)
            return;
        colour(p.text);
        s.drawFocusRect(look.focusRect);
    }
    // The disabled captions are grey text engraved into a light face. In a
    // dark palette (text lighter than the face) that grey would all but vanish
    // into the face, so there the caption is halfway between text and face,
    // over a dark offset.
    bool darkPalette() const { return brightness(p.text) > brightness(p.face); }
    Colour dimmedText() const
    {
        return RGB((redOf(p.text) + redOf(p.face)) / 2, (greenOf(p.text) + greenOf(p.face)) / 2,
                   (blueOf(p.text) + blueOf(p.face)) / 2);
    }
    void embossedCaption()
    {
        colour(darkPalette() ? p.darkShadow : p.highlight);
        caption(look.pressedCaptionRect);
        greyCaption();
    }
    void greyCaption()
    {
        colour(darkPalette() ? dimmedText() : p.shadow);
        caption(look.captionRect);
    }

    Colour base() const { return ShadePct(p.face, 48); }

    void gradientUp()
    {
        const Colour b = base();
        const float step = 25.0f / static_cast<float>(H);
        for (int t = 1; t <= H; ++t)
            line(0, t, W, t, ShadePct(b, -static_cast<int>(std::nearbyint(step * t))));
    }
    void gradientDown()
    {
        const Colour dark = ShadePct(base(), -32);
        const float step = 25.0f / static_cast<float>(H);
        for (int t = 1; t <= H; ++t)
            line(0, H - t, W, H - t, ShadePct(dark, -static_cast<int>(std::nearbyint(step * t))));
    }
    void sixStrokeRing(Colour c1, Colour c2, Colour c3, Colour c4, Colour c5, Colour c6)
    {
        box(1, 2, W - 2, H - 4, c1, false);
        line(2, H - 2, W - 2, H - 2, c2);
        line(2, 1, W - 2, 1, c3);
        line(1, 2, W - 1, 2, c4);
        line(2, 3, 2, H - 3, c5);
        line(W - 3, 3, W - 3, H - 3, c6);
    }
    void hoverRing()
    {
        sixStrokeRing(RGB(255, 178, 49), RGB(231, 150, 0), RGB(255, 243, 206), RGB(255, 219, 140),
                      RGB(255, 203, 107), RGB(255, 203, 107));
    }
    void focusRing()
    {
        sixStrokeRing(RGB(140, 174, 231), RGB(107, 130, 239), RGB(206, 231, 255),
                      RGB(189, 215, 247), RGB(181, 209, 240), RGB(181, 209, 240));
    }
    void plainRing()
    {
        const Colour b = base();
        line(2, H - 2, W - 2, H - 2, ShadePct(b, -48));
        line(1, H - 3, W - 2, H - 3, ShadePct(b, -32));
        line(W - 2, 2, W - 2, H - 2, ShadePct(b, -36));
        line(W - 3, 3, W - 3, H - 3, ShadePct(b, -24));
        line(2, 1, W - 2, 1, ShadePct(b, 16));
        line(1, 2, W - 2, 2, ShadePct(b, 10));
        line(1, 2, 1, H - 2, ShadePct(b, -5));
        line(2, 3, 2, H - 3, ShadePct(b, -10));
    }
    void pressedRing()
    {
        const Colour dark = ShadePct(base(), -32);
        line(2, H - 2, W - 2, H - 2, ShadePct(dark, 16));
        line(1, H - 3, W - 2, H - 3, ShadePct(dark, 10));
        line(W - 2, 2, W - 2, H - 2, ShadePct(dark, 5));
        line(W - 3, 3, W - 3, H - 3, dark);
        line(2, 1, W - 2, 1, ShadePct(dark, -32));
        line(1, 2, W - 2, 2, ShadePct(dark, -24));
        line(1, 2, 1, H - 2, ShadePct(dark, -32));
        line(2, 2, 2, H - 2, ShadePct(dark, -22));
    }
    void type3Frame()
    {
        box(0, 0, W, H, RGB(0, 60, 115), false);
        cornerPoints(RGB(16, 77, 123));
    }

    void softBorder()
    {
        box(0, 0, W, H, p.darkShadow, false);
        cornerPoints(p.darkShadow);
        pixel(1, 2, p.face);
        pixel(2, 1, p.face);
        line(3, 2, W - 3, 2, p.highlight);
        line(2, 2, 2, H - 3, p.highlight);
        pixel(3, 3, p.highlight);
        line(W - 3, 1, W - 3, H - 3, p.face);
        line(1, H - 3, W - 3, H - 3, p.face);
        pixel(W - 4, H - 4, p.face);
        line(W - 2, 3, W - 2, H - 2, p.shadow);
        line(3, H - 2, W - 2, H - 2, p.shadow);
        pixel(W - 3, H - 3, p.shadow);
        pixel(2, H - 2, p.face);
        pixel(2, H - 3, p.light);
        pixel(W - 2, 2, p.face);
        pixel(W - 3, 2, p.light);
    }
    void pressedSoftBorder()
    {
        const Colour sh = p.shadow;
        box(0, 0, W, H, p.darkShadow, false);
        box(1, 1, W - 2, H - 2, Shade(sh, -64), false);
        box(2, 2, W - 4, H - 4, Shade(sh, -32), false);
        pixel(2, 2, Shade(sh, -64));
        pixel(3, 3, Shade(sh, -32));
        cornerPoints(p.darkShadow);
        line(W - 3, 1, W - 3, H - 3, sh);
        line(1, H - 3, W - 2, H - 3, sh);
        pixel(W - 4, H - 4, sh);
        line(W - 2, 3, W - 2, H - 2, Shade(sh, -16));
        line(3, H - 2, W - 2, H - 2, Shade(sh, -16));
        pixel(W - 2, H - 3, Shade(sh, -32));
        pixel(W - 3, H - 2, Shade(sh, -32));
        pixel(2, H - 2, Shade(sh, -32));
        pixel(2, H - 3, Shade(sh, -16));
        pixel(1, H - 3, Shade(sh, -16));
        pixel(W - 2, 2, Shade(sh, -32));
        pixel(W - 3, 2, Shade(sh, -16));
        pixel(W - 3, 1, Shade(sh, -16));
    }
    // Type 5 marks the focus with a frame around the unbroken caption.
    void captionFrame()
    {
        const SizeF t = s.measurePlainText(look.caption);
        const int x0 = roundEven(W - t.width) / 2 - 3;
        const int y0 = roundEven(H - t.height) / 2 - 1;
        box(x0, y0, roundEven(t.width + 6), roundEven(t.height + 2), RGB(153, 153, 204), false);
    }

    void up()
    {
        switch (ButtonType(look.buttonType)) {
        case ButtonType::Outlined3D:
            caption(look.captionRect);
            bevel(p.highlight, p.shadow, p.highlight, p.shadow, -1);
            box(0, 0, W, H, p.darkShadow, false);
            focus();
            break;
        case ButtonType::Standard:
            caption(look.captionRect);
            if (look.showFocusRect && look.isDefault) {
                bevel(p.highlight, p.darkShadow, p.light, p.shadow, -1);
                focus();
                box(0, 0, W, H, p.darkShadow, false);
            } else {
                bevel(p.highlight, p.darkShadow, p.light, p.shadow, 0);
            }
            break;
        case ButtonType::Gradient:
            gradientUp();
            caption(look.captionRect);
            type3Frame();
            if (look.isMouseOver)
                hoverRing();
            else if (look.showFocusRect && (look.hasFocus || look.isDefault))
                focusRing();
            else
                plainRing();
            break;
        case ButtonType::Soft:
            box(1, 1, W - 2, H - 2, p.light, true);
            caption(look.captionRect);
            softBorder();
            break;
        case ButtonType::Flat:
            box(1, 1, W - 1, H - 1, Shade(p.face, 12), true);
            caption(look.captionRect);
            box(1, 1, W - 1, H - 1, p.highlight, false);
            box(0, 0, W - 1, H - 1, Shade(p.shadow, -26), false);
            pixel(1, H - 2, Shade(p.shadow, 26));
            pixel(W - 2, 1, Shade(p.shadow, 26));
            if (look.hasFocus && look.showFocusRect)
                captionFrame();
            break;
        case ButtonType::Light3D:
            caption(look.captionRect);
            bevel(Shade(p.light, 8), p.shadow, Shade(p.light, 8), p.shadow, 0);
            focus();
            break;
        case ButtonType::Thin:
            caption(look.captionRect);
            outerBevel(p.highlight, p.shadow);
            focus();
            break;
        case ButtonType::HoverThin:
            caption(look.captionRect);
            if (look.isMouseOver)
                outerBevel(p.highlight, p.shadow);
            focus();
            break;
        default:
            break;
        }
    }

    void down()
    {
        switch (ButtonType(look.buttonType)) {
        case ButtonType::Outlined3D:
            caption(look.pressedCaptionRect);
            bevel(p.shadow, p.highlight, p.shadow, p.highlight, -1);
            box(0, 0, W, H, p.darkShadow, false);
            focus();
            break;
        case ButtonType::Standard:
            caption(look.pressedCaptionRect);
            if (!look.showFocusRect) {
                bevel(p.darkShadow, p.highlight, p.shadow, p.light, 0);
            } else {
                box(0, 0, W, H, p.darkShadow, false);
                box(1, 1, W - 2, H - 2, p.shadow, false);
                focus();
            }
            break;
        case ButtonType::Gradient:
            gradientDown();
            colour(p.text);
            caption(look.pressedCaptionRect);
            type3Frame();
            pressedRing();
            break;
        case ButtonType::Soft:
            box(1, 1, W - 2, H - 2, Shade(p.shadow, -16), true);
            colour(p.light);
            caption(look.pressedCaptionRect);
            pressedSoftBorder();
            break;
        case ButtonType::Flat:
            box(1, 1, W - 2, H - 2, Shade(p.shadow, 16), true);
            box(0, 0, W - 1, H - 1, Shade(p.shadow, -26), false);
            line(W - 1, 1, W - 1, H, p.highlight);
            line(1, H - 1, W - 1, H - 1, p.highlight);
            caption(look.captionRect);
            if (look.hasFocus && look.showFocusRect)
                captionFrame();
            break;
        case ButtonType::Light3D:
            caption(look.pressedCaptionRect);
            bevel(p.shadow, Shade(p.light, 8), p.shadow, Shade(p.light, 8), 0);
            focus();
            break;
        case ButtonType::Thin:
        case ButtonType::HoverThin:
            caption(look.pressedCaptionRect);
            outerBevel(p.shadow, p.highlight);
            focus();
            break;
        default:
            break;
        }
    }

    void disabled()
    {
        switch (ButtonType(look.buttonType)) {
        case ButtonType::Outlined3D:
            embossedCaption();
            bevel(p.highlight, p.shadow, p.highlight, p.shadow, -1);
            box(0, 0, W, H, p.darkShadow, false);
            break;
        case ButtonType::Standard:
            embossedCaption();
            bevel(p.highlight, p.darkShadow, p.light, p.shadow, 0);
            break;
        case ButtonType::Gradient: {
            const Colour b = base();
            box(0, 0, W, H, ShadePct(b, -24), true);
            colour(ShadePct(b, -104));
            caption(look.captionRect);
            box(0, 0, W, H, ShadePct(b, -84), false);
            cornerPoints(ShadePct(b, -72));
            break;
        }
        case ButtonType::Soft:
            box(1, 1, W - 2, H - 2, p.light, true);
            embossedCaption();
            softBorder();
            break;
        case ButtonType::Flat:
            greyCaption();
            box(0, 0, W, H, p.shadow, false);
            break;
        case ButtonType::Light3D:
            greyCaption();
            bevel(Shade(p.light, 8), p.shadow, Shade(p.light, 8), p.shadow, 0);
            break;
        case ButtonType::Thin:
            embossedCaption();
            outerBevel(p.highlight, p.shadow);
            break;
        case ButtonType::HoverThin:
            embossedCaption();
            box(0, 0, W, H, p.shadow, false);
            break;
        default:
            break;
        }
    }
};

} // namespace

Colour ShadeColor(Colour colour, int delta, bool proportional)
{
    int r = colour & 0xFF;
    int g = (colour / 256) % 256;
    int b = (colour / 65536) % 256;
    if (proportional)
        b = b + (b * delta) / 192;
    else
        b = b + delta;
    g = g + delta;
    r = r + delta;
    return RGB(clampChannel(r), clampChannel(g), clampChannel(b));
}

ButtonPalette ComputePalette(const ColourSources &src)
{
    ButtonPalette p;
    auto deriveFromFace = [&p] {
        p.shadow = ShadeColor(p.face, -64, false);
        p.light = ShadeColor(p.face, 31, false);
        p.highlight = ShadeColor(p.face, 47, false);
        p.darkShadow = ShadeColor(p.face, -192, false);
    };
    switch (ColorScheme(src.colorScheme)) {
    case ColorScheme::Custom:
        p.face = src.backColor;
        p.text = src.foreColor;
        p.hoverText = src.foreOver;
        deriveFromFace();
        return p;
    case ColorScheme::Grey:
        p.face = RGB(192, 192, 192);
        p.text = RGB(0, 0, 0);
        p.hoverText = RGB(0, 0, 0);
        p.light = RGB(223, 223, 223);
        p.highlight = RGB(255, 255, 255);
        p.shadow = RGB(128, 128, 128);
        p.darkShadow = RGB(0, 0, 0);
        return p;
    case ColorScheme::Host:
        p.face = src.hostBackground;
        p.text = src.hostText;
        p.hoverText = src.hostText;
        deriveFromFace();
        return p;
    default:
        p.face = src.system.buttonFace;
        p.text = src.system.buttonText;
        p.hoverText = src.system.buttonText;
        p.light = src.system.light3D;
        p.highlight = src.system.buttonHighlight;
        p.shadow = src.system.buttonShadow;
        p.darkShadow = src.system.darkShadow3D;
        return p;
    }
}

void LayoutCaption(ButtonLook &look, const ButtonSurface &surface)
{
    const int W = look.width;
    const int H = look.height;
    Rect t{1, 0, W - 2, H - 2};
    look.captionBreakWidth = t.width();
    const Size measured = surface.measureCaption(look.caption, t.width());
    t.right = t.left + measured.width;
    t.bottom = t.top + measured.height;
    look.captionRect = t.translated((W - t.right) / 2, (H - t.bottom) / 2);
    look.pressedCaptionRect = look.captionRect.translated(1, 1);
}

Rect FocusRectFor(int width, int height)
{
    return {4, 4, width - 4, height - 4};
}

void LayoutButton(ButtonLook &look, const ButtonSurface &surface, int width, int height)
{
    look.width = width;
    look.height = height;
    look.focusRect = FocusRectFor(width, height);
    LayoutCaption(look, surface);
}

std::vector<Point> BuildShapeRegion(int buttonType, int W, int H)
{
    switch (ButtonType(buttonType)) {
    case ButtonType::Outlined3D:
        return {{0, 0}, {0, H - 1}, {W - 1, 0}, {W - 1, H - 1}};
    case ButtonType::Gradient:
    case ButtonType::Soft:
        return {{0, 0},     {1, 0},     {0, 1},     {0, H - 1},     {1, H - 1},     {0, H - 2},
                {W - 1, 0}, {W - 2, 0}, {W - 1, 1}, {W - 1, H - 1}, {W - 2, H - 1}, {W - 1, H - 2}};
    case ButtonType::Flat:
        return {{0, H - 1}, {W - 1, 0}};
    default:
        return {};
    }
}

bool ShapeContains(int buttonType, int width, int height, int x, int y)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const std::vector<Point> removed = BuildShapeRegion(buttonType, width, height);
    return std::find(removed.begin(), removed.end(), Point{x, y}) == removed.end();
}

bool Redraw(ButtonSurface &surface, const ButtonLook &look, DrawnMemory &memory, std::uint8_t state,
            bool force)
{
    if (look.height == 0)
        return false;
    if (!force && look.caption == memory.drawnCaption && state == memory.drawnState)
        return false;
    memory.drawnState = state;
    memory.drawnCaption = look.caption;

    Painter painter{surface, look, look.palette, look.width, look.height};
    surface.clear();
    painter.box(0, 0, look.width, look.height, look.palette.face, true);
    if (look.enabled) {
        painter.colour(look.isMouseOver ? look.palette.hoverText : look.palette.text);
        if (state == StateUp)
            painter.up();
        else if (state == StateDown)
            painter.down();
        return true;
    }
    painter.disabled();
    return true;
}

void DrawBox(ButtonSurface &surface, int x, int y, int w, int h, Colour colour, bool fill)
{
    if (w <= 0 || h <= 0)
        return;
    if (fill) {
        surface.fillRect({x, y, x + w, y + h}, colour);
        return;
    }
    surface.fillRect({x, y, x + w, y + 1}, colour);
    surface.fillRect({x, y + h - 1, x + w, y + h}, colour);
    surface.fillRect({x, y, x + 1, y + h}, colour);
    surface.fillRect({x + w - 1, y, x + w, y + h}, colour);
}

void DrawLine(ButtonSurface &surface, int x1, int y1, int x2, int y2, Colour colour)
{
    if (y1 == y2) {
        if (x2 > x1)
            surface.fillRect({x1, y1, x2, y1 + 1}, colour);
        else if (x2 < x1)
            surface.fillRect({x2 + 1, y1, x1 + 1, y1 + 1}, colour);
        return;
    }
    if (x1 == x2) {
        if (y2 > y1)
            surface.fillRect({x1, y1, x1 + 1, y2}, colour);
        else
            surface.fillRect({x1, y2 + 1, x1 + 1, y1 + 1}, colour);
        return;
    }
    // No look uses slanted lines; step along the longer axis for completeness.
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
        surface.setPixel(x1 + roundEven(double(dx) * i / steps),
                         y1 + roundEven(double(dy) * i / steps), colour);
}

void DrawBevel(ButtonSurface &surface, Colour c1, Colour c2, Colour c3, Colour c4, int inset,
               bool outerOnly)
{
    const int R = surface.width() - 1 + inset;
    const int B = surface.height() - 1 + inset;
    const int e = std::abs(inset);
    Pen pen(surface);
    pen.moveTo(e, B);
    pen.lineTo(e, e, c1);
    pen.lineTo(R, e, c1);
    pen.lineTo(R, B, c2);
    pen.lineTo(e - 1, B, c2);
    pen.moveTo(e + 1, B - 1);
    if (outerOnly)
        return;
    pen.lineTo(e + 1, e + 1, c3);
    pen.lineTo(R - 1, e + 1, c3);
    pen.lineTo(R - 1, B - 1, c4);
    pen.lineTo(e, B - 1, c4);
}

} // namespace lorvane
