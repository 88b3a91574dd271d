// Pixel tests of the button's looks on a plain colour grid.
#include "ButtonDrawing.h"
#include "PixelSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

using namespace lorvane;
using lorvane::testing::PixelSurface;

namespace {

constexpr Colour kFace = RGB(200, 200, 200);

ButtonPalette distinctPalette()
{
    ButtonPalette p;
    p.face = kFace;
    p.light = RGB(230, 230, 230);
    p.highlight = RGB(255, 255, 255);
    p.shadow = RGB(120, 120, 120);
    p.darkShadow = RGB(10, 10, 10);
    p.text = RGB(1, 2, 3);
    p.hoverText = RGB(4, 5, 6);
    return p;
}

ButtonLook lookOf(int type, int w, int h, const QString &caption = QStringLiteral("abc"))
{
    ButtonLook look;
    look.buttonType = type;
    look.caption = caption;
    look.palette = distinctPalette();
    PixelSurface measure(w, h);
    LayoutButton(look, measure, w, h);
    return look;
}

PixelSurface paint(const ButtonLook &look, std::uint8_t state)
{
    PixelSurface s(look.width, look.height);
    DrawnMemory memory;
    EXPECT_TRUE(Redraw(s, look, memory, state, true));
    return s;
}

} // namespace

TEST(ShadeColor, MovesRedAndGreenByDeltaAndBlueByDeltaOrProportionally)
{
    struct Case
    {
        Colour colour;
        int delta;
        bool proportional;
        Colour expected;
    };
    const Case cases[] = {
        {RGB(100, 100, 96), -48, true, RGB(52, 52, 72)},
        {RGB(10, 250, 128), 47, false, RGB(57, 255, 175)},
        {RGB(10, 20, 30), -64, false, RGB(0, 0, 0)},
        // Blue's share truncates toward zero: 100 * -50 / 192 is -26, not -27.
        {RGB(0, 0, 100), -50, true, RGB(0, 0, 74)},
        {RGB(0, 0, 100), 50, true, RGB(50, 50, 126)},
        {RGB(0, 0, 0), 16, true, RGB(16, 16, 0)},
        {RGB(255, 255, 255), 1, true, RGB(255, 255, 255)},
        {RGB(192, 192, 192), -192, false, RGB(0, 0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << "colour " << c.colour << " delta " << c.delta
                                          << " proportional " << c.proportional);
        EXPECT_EQ(ShadeColor(c.colour, c.delta, c.proportional), c.expected);
    }
}

TEST(ComputePalette, SchemesDrawFromTheirOwnSources)
{
    ColourSources src;
    src.backColor = RGB(100, 150, 200);
    src.foreColor = RGB(1, 2, 3);
    src.foreOver = RGB(4, 5, 6);
    src.system = {RGB(11, 11, 11), RGB(12, 12, 12), RGB(13, 13, 13),
                  RGB(14, 14, 14), RGB(15, 15, 15), RGB(16, 16, 16)};
    src.hostBackground = RGB(90, 80, 70);
    src.hostText = RGB(7, 8, 9);

    src.colorScheme = 2;
    const ButtonPalette two = ComputePalette(src);
    EXPECT_EQ(two.face, RGB(100, 150, 200));
    EXPECT_EQ(two.text, RGB(1, 2, 3));
    EXPECT_EQ(two.hoverText, RGB(4, 5, 6));
    EXPECT_EQ(two.shadow, RGB(36, 86, 136));
    EXPECT_EQ(two.light, RGB(131, 181, 231));
    EXPECT_EQ(two.highlight, RGB(147, 197, 247));
    EXPECT_EQ(two.darkShadow, RGB(0, 0, 8));

    src.colorScheme = 3;
    const ButtonPalette three = ComputePalette(src);
    EXPECT_EQ(three.face, RGB(192, 192, 192));
    EXPECT_EQ(three.text, RGB(0, 0, 0));
    EXPECT_EQ(three.hoverText, RGB(0, 0, 0));
    EXPECT_EQ(three.light, RGB(223, 223, 223));
    EXPECT_EQ(three.highlight, RGB(255, 255, 255));
    EXPECT_EQ(three.shadow, RGB(128, 128, 128));
    EXPECT_EQ(three.darkShadow, RGB(0, 0, 0));

    src.colorScheme = 4;
    const ButtonPalette four = ComputePalette(src);
    EXPECT_EQ(four.face, RGB(90, 80, 70));
    EXPECT_EQ(four.text, RGB(7, 8, 9));
    EXPECT_EQ(four.hoverText, RGB(7, 8, 9));
    EXPECT_EQ(four.shadow, RGB(26, 16, 6));

    for (int scheme : {1, 0, 5, -3}) {
        SCOPED_TRACE(scheme);
        src.colorScheme = scheme;
        const ButtonPalette sys = ComputePalette(src);
        EXPECT_EQ(sys.face, RGB(11, 11, 11));
        EXPECT_EQ(sys.shadow, RGB(12, 12, 12));
        EXPECT_EQ(sys.text, RGB(13, 13, 13));
        EXPECT_EQ(sys.hoverText, RGB(13, 13, 13));
        EXPECT_EQ(sys.highlight, RGB(14, 14, 14));
        EXPECT_EQ(sys.darkShadow, RGB(15, 15, 15));
        EXPECT_EQ(sys.light, RGB(16, 16, 16));
    }
}

// The rings as described pixel by pixel, painted in drawing order.
std::map<std::pair<int, int>, Colour> expectedBevelAtInsetZero(int W, int H, int offset)
{
    std::map<std::pair<int, int>, Colour> px;
    auto put = [&](int x, int y, Colour c) { px[{x + offset, y + offset}] = c; };
    for (int y = 1; y <= H - 1; ++y)
        put(0, y, 1);
    for (int x = 0; x <= W - 2; ++x)
        put(x, 0, 1);
    for (int y = 0; y <= H - 2; ++y)
        put(W - 1, y, 2);
    for (int x = 0; x <= W - 1; ++x)
        put(x, H - 1, 2);
    for (int y = 2; y <= H - 2; ++y)
        put(1, y, 3);
    for (int x = 1; x <= W - 3; ++x)
        put(x, 1, 3);
    for (int y = 1; y <= H - 3; ++y)
        put(W - 2, y, 4);
    for (int x = 1; x <= W - 2; ++x)
        put(x, H - 2, 4);
    return px;
}

TEST(DrawBevel, RingsAtInsetZeroAndMinusOne)
{
    const int W = 12;
    const int H = 9;
    for (int inset : {0, -1}) {
        for (bool outerOnly : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "inset " << inset << " outerOnly " << outerOnly);
            PixelSurface s(W, H);
            DrawBevel(s, 1, 2, 3, 4, inset, outerOnly);
            auto expected = expectedBevelAtInsetZero(W + 2 * inset, H + 2 * inset, -inset);
            if (outerOnly)
                std::erase_if(expected, [](const auto &kv) { return kv.second > 2; });
            for (int y = 0; y < H; ++y) {
                for (int x = 0; x < W; ++x) {
                    auto it = expected.find({x, y});
                    SCOPED_TRACE(::testing::Message() << "pixel " << x << "," << y);
                    EXPECT_EQ(s.at(x, y), it == expected.end() ? -1 : it->second);
                }
            }
        }
    }
}

TEST(DrawLine, LeavesTheEndPointUnpaintedInEveryDirection)
{
    PixelSurface s(10, 10);
    DrawLine(s, 2, 1, 6, 1, 7);
    DrawLine(s, 6, 3, 2, 3, 8);
    DrawLine(s, 8, 2, 8, 6, 9);
    DrawLine(s, 9, 6, 9, 2, 5);
    for (int x = 0; x < 8; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(s.at(x, 1), x >= 2 && x <= 5 ? 7 : -1);
        EXPECT_EQ(s.at(x, 3), x >= 3 && x <= 6 ? 8 : -1);
    }
    for (int y = 0; y < 10; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(s.at(8, y), y >= 2 && y <= 5 ? 9 : -1);
        EXPECT_EQ(s.at(9, y), y >= 3 && y <= 6 ? 5 : -1);
    }
}

TEST(DrawBox, OutlineIsAFrameOnTheInnerEdge)
{
    PixelSurface s(8, 8);
    DrawBox(s, 1, 2, 5, 4, 3, false);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inBox = x >= 1 && x <= 5 && y >= 2 && y <= 5;
            const bool edge = inBox && (x == 1 || x == 5 || y == 2 || y == 5);
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            EXPECT_EQ(s.at(x, y), edge ? 3 : -1);
        }
    }
    PixelSurface empty(4, 4);
    DrawBox(empty, 1, 1, 0, 3, 3, false);
    DrawBox(empty, 1, 1, 3, -1, 3, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(empty.at(x, y), -1);
}

TEST(GradientOfTypeThree, RowsDarkenByTheRoundedStep)
{
    // Rows 3 to H - 4 of a middle column are covered by nothing but the gradient.
    for (int H : {25, 50, 30}) {
        SCOPED_TRACE(H);
        const ButtonLook look = lookOf(3, 40, H, QString());
        const Colour base = ShadeColor(kFace, 48, true);
        const PixelSurface up = paint(look, StateUp);
        const PixelSurface down = paint(look, StateDown);
        const Colour dark = ShadeColor(base, -32, true);
        for (int t = 3; t <= H - 4; ++t) {
            SCOPED_TRACE(t);
            const float step = 25.0f / float(H);
            const int k = H == 25 ? t : int(std::nearbyint(step * t));
            EXPECT_EQ(up.at(20, t), ShadeColor(base, -k, true));
            // The down gradient runs from the bottom: row y is t = H - y.
            const int kd = int(std::nearbyint(step * float(H - t)));
            EXPECT_EQ(down.at(20, t), ShadeColor(dark, -kd, true));
        }
    }
}

TEST(GradientOfTypeThree, HalvesRoundToEven)
{
    const ButtonLook look = lookOf(3, 40, 50, QString());
    const Colour base = ShadeColor(kFace, 48, true);
    const PixelSurface up = paint(look, StateUp);
    // 0.5 * 5 = 2.5 -> 2 and 0.5 * 7 = 3.5 -> 4.
    EXPECT_EQ(up.at(20, 5), ShadeColor(base, -2, true));
    EXPECT_EQ(up.at(20, 7), ShadeColor(base, -4, true));
}

TEST(BuildShapeRegion, RemovesTheCornerPixelsOfEachType)
{
    const int W = 10;
    const int H = 6;
    auto removed = [&](int type) {
        std::vector<std::pair<int, int>> out;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (!ShapeContains(type, W, H, x, y))
                    out.push_back({x, y});
        return out;
    };
    using V = std::vector<std::pair<int, int>>;
    EXPECT_EQ(removed(1), (V{{0, 0}, {9, 0}, {0, 5}, {9, 5}}));
    const V threeEach{{0, 0}, {1, 0}, {8, 0}, {9, 0}, {0, 1}, {9, 1},
                      {0, 4}, {9, 4}, {0, 5}, {1, 5}, {8, 5}, {9, 5}};
    EXPECT_EQ(removed(3), threeEach);
    EXPECT_EQ(removed(4), threeEach);
    EXPECT_EQ(removed(5), (V{{9, 0}, {0, 5}}));
    for (int type : {2, 6, 7, 8, 0, 9, -1}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(removed(type).empty());
    }
}

TEST(BuildShapeRegion, OnePixelButtonOfTypeThreeKeepsNothing)
{
    EXPECT_FALSE(ShapeContains(3, 1, 1, 0, 0));
    EXPECT_TRUE(ShapeContains(2, 1, 1, 0, 0));
}

TEST(LayoutCaption, CentresTheMeasuredCaptionAndMovesThePressedOne)
{
    // "abc" measures 18 x 13 on the test surface.
    ButtonLook look = lookOf(2, 81, 25);
    EXPECT_EQ(look.captionRect, (Rect{32, 6, 50, 19}));
    EXPECT_EQ(look.pressedCaptionRect, (Rect{33, 7, 51, 20}));
    EXPECT_EQ(look.focusRect, (Rect{4, 4, 77, 21}));

    // Wider than the button: the offset truncates toward zero, (10 - 19) / 2 = -4.
    look = lookOf(2, 10, 25);
    EXPECT_EQ(look.captionRect, (Rect{-3, 6, 15, 19}));

    // Mnemonic ampersands are not measured: "&a&&b" shows "a&b".
    look = lookOf(2, 81, 25, QStringLiteral("&a&&b"));
    EXPECT_EQ(look.captionRect.width(), 18);
}

TEST(Redraw, PressedCaptionMovesExceptForTypeFive)
{
    for (int type = 1; type <= 8; ++type) {
        SCOPED_TRACE(type);
        ButtonLook look = lookOf(type, 60, 25);
        const PixelSurface down = paint(look, StateDown);
        ASSERT_EQ(down.captions().size(), 1u);
        EXPECT_EQ(down.captions()[0].rect, type == 5 ? look.captionRect : look.pressedCaptionRect);
        const PixelSurface up = paint(look, StateUp);
        ASSERT_EQ(up.captions().size(), 1u);
        EXPECT_EQ(up.captions()[0].rect, look.captionRect);
    }
}

TEST(Redraw, CaptionColours)
{
    ButtonLook look = lookOf(3, 60, 25);
    look.isMouseOver = true;
    EXPECT_EQ(paint(look, StateUp).captions()[0].colour, look.palette.hoverText);
    // Type 3 pressed shows the normal text colour even while hovered.
    EXPECT_EQ(paint(look, StateDown).captions()[0].colour, look.palette.text);
    look.buttonType = 4;
    EXPECT_EQ(paint(look, StateDown).captions()[0].colour, look.palette.light);
    look.buttonType = 1;
    EXPECT_EQ(paint(look, StateDown).captions()[0].colour, look.palette.hoverText);

    // Disabled: embossed, highlight one pixel down and right, shadow on top.
    look.enabled = false;
    for (int type : {1, 2, 4, 7, 8}) {
        SCOPED_TRACE(type);
        look.buttonType = type;
        const PixelSurface s = paint(look, StateDown);
        ASSERT_EQ(s.captions().size(), 2u);
        EXPECT_EQ(s.captions()[0].colour, look.palette.highlight);
        EXPECT_EQ(s.captions()[0].rect, look.pressedCaptionRect);
        EXPECT_EQ(s.captions()[1].colour, look.palette.shadow);
        EXPECT_EQ(s.captions()[1].rect, look.captionRect);
    }
    for (int type : {5, 6}) {
        SCOPED_TRACE(type);
        look.buttonType = type;
        const PixelSurface s = paint(look, StateUp);
        ASSERT_EQ(s.captions().size(), 1u);
        EXPECT_EQ(s.captions()[0].colour, look.palette.shadow);
    }

    // A dark palette: the disabled caption on top must stay well lighter than
    // the face it is drawn on.
    look.palette.face = RGB(49, 54, 59);
    look.palette.light = RGB(64, 70, 76);
    look.palette.highlight = RGB(80, 86, 92);
    look.palette.shadow = RGB(24, 27, 30);
    look.palette.darkShadow = RGB(0, 0, 0);
    look.palette.text = RGB(239, 240, 241);
    for (int type : {1, 2, 4, 5, 6, 7, 8}) {
        SCOPED_TRACE(type);
        look.buttonType = type;
        const PixelSurface s = paint(look, StateUp);
        ASSERT_FALSE(s.captions().empty());
        const Colour top = s.captions().back().colour;
        const Colour under = type == 4 ? look.palette.light : look.palette.face;
        EXPECT_GE(greenOf(top) - greenOf(under), 60);
    }
}

TEST(Redraw, FocusRectangleOnlyWhereTheLookHasOne)
{
    struct Case
    {
        int type;
        bool isDefault;
        bool showFocusRect;
        std::uint8_t state;
        bool expectFocusRect;
    };
    const Case cases[] = {
        {1, false, true, StateUp, true},     {1, false, false, StateUp, false},
        {2, false, true, StateUp, false}, // not the default button: plain bevel
        {2, true, true, StateUp, true},      {2, false, true, StateDown, true},
        {2, false, false, StateDown, false}, {3, true, true, StateUp, false},
        {4, false, true, StateUp, false},    {4, false, true, StateDown, false},
        {5, false, true, StateUp, false},    {6, false, true, StateDown, true},
        {7, false, true, StateUp, true},     {8, false, true, StateUp, true},
        {8, false, true, StateDown, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "type " << c.type << " default " << c.isDefault << " show "
                     << c.showFocusRect << " state " << int(c.state));
        ButtonLook look = lookOf(c.type, 60, 25);
        look.hasFocus = true;
        look.isDefault = c.isDefault;
        look.showFocusRect = c.showFocusRect;
        const PixelSurface s = paint(look, c.state);
        ASSERT_EQ(s.focusRects().size(), c.expectFocusRect ? 1u : 0u);
        if (c.expectFocusRect) {
            EXPECT_EQ(s.focusRects()[0], look.focusRect);
        }
        look.hasFocus = false;
        EXPECT_TRUE(paint(look, c.state).focusRects().empty());
    }
}

TEST(Redraw, TypeEightHasNoBorderUntilHovered)
{
    ButtonLook look = lookOf(8, 20, 10);
    const PixelSurface plain = paint(look, StateUp);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(plain.at(x, y), kFace) << x << "," << y;

    look.isMouseOver = true;
    const PixelSurface hovered = paint(look, StateUp);
    EXPECT_EQ(hovered.at(0, 0), look.palette.highlight);
    EXPECT_EQ(hovered.at(19, 9), look.palette.shadow);
    EXPECT_EQ(hovered.at(1, 1), kFace);

    look.isMouseOver = false;
    const PixelSurface pressed = paint(look, StateDown);
    EXPECT_EQ(pressed.at(0, 0), look.palette.shadow);
    EXPECT_EQ(pressed.at(19, 9), look.palette.highlight);

    look.enabled = false;
    const PixelSurface disabled = paint(look, StateUp);
    EXPECT_EQ(disabled.at(0, 0), look.palette.shadow);
    EXPECT_EQ(disabled.at(19, 9), look.palette.shadow);
    EXPECT_EQ(disabled.at(10, 0), look.palette.shadow);
    EXPECT_EQ(disabled.at(1, 1), kFace);
}

TEST(Redraw, TypeThreeFrameCornersAndRings)
{
    const int W = 30;
    const int H = 20;
    ButtonLook look = lookOf(3, W, H);
    const Colour base = ShadeColor(kFace, 48, true);
    const PixelSurface plain = paint(look, StateUp);
    EXPECT_EQ(plain.at(5, 0), RGB(0, 60, 115));
    EXPECT_EQ(plain.at(0, 5), RGB(0, 60, 115));
    for (auto [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
        EXPECT_EQ(plain.at(x, y), RGB(16, 77, 123)) << x << "," << y;
    EXPECT_EQ(plain.at(5, H - 2), ShadeColor(base, -48, true));
    EXPECT_EQ(plain.at(5, 1), ShadeColor(base, 16, true));
    EXPECT_EQ(plain.at(2, 5), ShadeColor(base, -10, true));

    look.hasFocus = true;
    const PixelSurface focused = paint(look, StateUp);
    EXPECT_EQ(focused.at(5, 1), RGB(206, 231, 255));
    EXPECT_EQ(focused.at(5, H - 2), RGB(107, 130, 239));
    // The ring's outline box spans rows 2 to H - 3; its top row is overdrawn.
    EXPECT_EQ(focused.at(1, 5), RGB(140, 174, 231));
    EXPECT_EQ(focused.at(W - 2, 2), RGB(189, 215, 247));

    look.isMouseOver = true; // hover wins over focus
    const PixelSurface hovered = paint(look, StateUp);
    EXPECT_EQ(hovered.at(5, 1), RGB(255, 243, 206));
    EXPECT_EQ(hovered.at(1, 5), RGB(255, 178, 49));
    EXPECT_EQ(hovered.at(W - 3, 5), RGB(255, 203, 107));

    const PixelSurface pressed = paint(look, StateDown);
    const Colour dark = ShadeColor(base, -32, true);
    EXPECT_EQ(pressed.at(5, 1), ShadeColor(dark, -32, true));
    EXPECT_EQ(pressed.at(2, 2), ShadeColor(dark, -22, true));
    EXPECT_EQ(pressed.at(W - 3, 5), dark);

    look.enabled = false;
    const PixelSurface disabled = paint(look, StateUp);
    EXPECT_EQ(disabled.at(5, 5), ShadeColor(base, -24, true));
    EXPECT_EQ(disabled.at(0, 5), ShadeColor(base, -84, true));
    EXPECT_EQ(disabled.at(1, 1), ShadeColor(base, -72, true));
    EXPECT_EQ(disabled.captions()[0].colour, ShadeColor(base, -104, true));
}

TEST(Redraw, TypeFourSoftBorders)
{
    const int W = 20;
    const int H = 12;
    ButtonLook look = lookOf(4, W, H);
    const ButtonPalette &p = look.palette;
    const PixelSurface up = paint(look, StateUp);
    EXPECT_EQ(up.at(5, 0), p.darkShadow);
    EXPECT_EQ(up.at(1, 1), p.darkShadow);
    EXPECT_EQ(up.at(2, 1), p.face);
    EXPECT_EQ(up.at(1, 2), p.face);
    EXPECT_EQ(up.at(5, 2), p.highlight);
    EXPECT_EQ(up.at(3, 3), p.highlight);
    EXPECT_EQ(up.at(5, 5), p.light);
    EXPECT_EQ(up.at(W - 2, 5), p.shadow);
    EXPECT_EQ(up.at(W - 3, H - 3), p.shadow);
    EXPECT_EQ(up.at(2, H - 3), p.light);
    EXPECT_EQ(up.at(W - 3, 2), p.light);
    EXPECT_EQ(up.at(W - 2, 2), p.face);

    const Colour s = p.shadow;
    const PixelSurface down = paint(look, StateDown);
    EXPECT_EQ(down.at(5, 5), ShadeColor(s, -16, false));
    EXPECT_EQ(down.at(5, 1), ShadeColor(s, -64, false));
    EXPECT_EQ(down.at(5, 2), ShadeColor(s, -32, false));
    EXPECT_EQ(down.at(2, 2), ShadeColor(s, -64, false));
    EXPECT_EQ(down.at(W - 3, 5), s);
    EXPECT_EQ(down.at(W - 3, 1), ShadeColor(s, -16, false));
    EXPECT_EQ(down.at(1, H - 3), ShadeColor(s, -16, false));
}

TEST(Redraw, TypeFiveFramesTheUnbrokenCaptionOnFocus)
{
    // "a" measures 6.5 x 13 unbroken: x0 = round(33.5) / 2 - 3 = 14 (33.5 goes
    // to 34), y0 = round(12) / 2 - 1 = 5, width round(12.5) = 12, height 15.
    ButtonLook look = lookOf(5, 40, 25, QStringLiteral("a"));
    look.hasFocus = true;
    const Colour frame = RGB(153, 153, 204);
    for (std::uint8_t state : {StateUp, StateDown}) {
        SCOPED_TRACE(int(state));
        const PixelSurface s = paint(look, state);
        EXPECT_EQ(s.at(14, 5), frame);
        EXPECT_EQ(s.at(25, 5), frame);
        EXPECT_NE(s.at(26, 5), frame);
        EXPECT_NE(s.at(13, 5), frame);
        EXPECT_EQ(s.at(14, 19), frame);
        EXPECT_NE(s.at(14, 20), frame);
    }
    look.showFocusRect = false;
    EXPECT_NE(paint(look, StateUp).at(14, 5), frame);
}

TEST(Redraw, SkipsUnforcedRepeatsAndEmptySurfaces)
{
    ButtonLook look = lookOf(2, 30, 20);
    PixelSurface s(30, 20);
    DrawnMemory memory;
    memory.drawnCaption = look.caption;
    EXPECT_FALSE(Redraw(s, look, memory, StateUp, false));
    EXPECT_TRUE(Redraw(s, look, memory, StateDown, false));
    EXPECT_EQ(memory.drawnState, StateDown);
    EXPECT_FALSE(Redraw(s, look, memory, StateDown, false));
    EXPECT_TRUE(Redraw(s, look, memory, StateDown, true));
    look.caption = QStringLiteral("other");
    EXPECT_TRUE(Redraw(s, look, memory, StateDown, false));
    EXPECT_EQ(memory.drawnCaption, QStringLiteral("other"));

    ButtonLook flat = lookOf(2, 30, 0);
    PixelSurface none(30, 0);
    EXPECT_FALSE(Redraw(none, flat, memory, StateUp, true));
}

TEST(Redraw, UnknownTypesAndStatesPaintOnlyTheFace)
{
    for (auto [type, state] : {std::pair{0, 0}, {9, 0}, {-2, 2}, {2, 1}}) {
        SCOPED_TRACE(::testing::Message() << type << " " << state);
        const ButtonLook look = lookOf(type, 12, 8);
        const PixelSurface s = paint(look, std::uint8_t(state));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(s.at(x, y), kFace);
        EXPECT_TRUE(s.captions().empty());
    }
}
