// The button's looks as functions of one state value on an abstract surface:
// the derived palette, the caption layout, the window shape and the complete
// picture of the up, down and disabled looks of the eight button types.
// CmdButton feeds its properties in here and shows the resulting image; the
// render tool and the pixel tests call the same functions.
#pragma once

#include "ButtonSurface.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace lorvane {

// The states Redraw knows; any other value paints only the face.
enum ButtonState : std::uint8_t { StateUp = 0, StateDown = 2 };

// The eight looks. ButtonType is stored and set as its number, and any number
// is accepted: one outside 1..8 draws the plain face and keeps the full shape.
enum class ButtonType : int {
    Outlined3D = 1, // dark outline around a raised two-ring border
    Standard = 2,   // raised two-ring border, outlined as the default button
    Gradient = 3,   // vertical gradient, hover and focus rings
    Soft = 4,       // light flat face with a soft rounded border
    Flat = 5,       // flat face with a thin two-colour outline, bold caption
    Light3D = 6,    // raised two-ring border in light and shadow
    Thin = 7,       // thin one-ring raised border
    HoverThin = 8,  // no border until hovered, then a thin raised one
};

// Where the palette comes from. Stored as its number; any number outside 2..4
// means System.
enum class ColorScheme : int {
    System = 1, // the platform's button colours
    Custom = 2, // BackColor, ForeColor and ForeOver
    Grey = 3,   // a fixed grey palette
    Host = 4,   // the host window's background and text colours
};

struct ButtonPalette
{
    Colour face = 0;
    Colour light = 0;
    Colour highlight = 0;
    Colour shadow = 0;
    Colour darkShadow = 0;
    Colour text = 0;
    Colour hoverText = 0;
    friend bool operator==(const ButtonPalette &, const ButtonPalette &) = default;
};

// The platform's button colours that colour scheme 1 uses.
struct SystemColours
{
    Colour buttonFace = 0;
    Colour buttonShadow = 0;
    Colour buttonText = 0;
    Colour buttonHighlight = 0;
    Colour darkShadow3D = 0;
    Colour light3D = 0;
};

// Everything ComputePalette may draw from; which fields count depends on the scheme.
struct ColourSources
{
    int colorScheme = 1;
    Colour backColor = 0;
    Colour foreColor = 0;
    Colour foreOver = 0;
    SystemColours system;
    Colour hostBackground = 0;
    Colour hostText = 0;
};

// Everything a picture of the button depends on.
struct ButtonLook
{
    int width = 0;
    int height = 0;
    int buttonType = 2;
    bool enabled = true;
    bool showFocusRect = true;
    bool isMouseOver = false;
    bool hasFocus = false;
    bool isDefault = false;
    QString caption;
    // The width the caption's lines were broken at when it was measured; the
    // drawing breaks them at the same width, so it shows the measured lines.
    int captionBreakWidth = 0;
    ButtonPalette palette;
    Rect captionRect;
    Rect pressedCaptionRect;
    Rect focusRect;
};

// What the last drawing was; a non-forced Redraw with the same state and caption
// is skipped, so pointer movement inside a pressed button does not repaint.
struct DrawnMemory
{
    std::uint8_t drawnState = StateUp;
    QString drawnCaption;
};

// Brightens (positive delta) or darkens a colour. Red and green move by delta;
// blue by delta too, or, when proportional, by blue * delta / 192. Each channel
// is clamped to 0..255.
Colour ShadeColor(Colour colour, int delta, bool proportional);

ButtonPalette ComputePalette(const ColourSources &sources);

// Sets look.captionRect, look.pressedCaptionRect and look.captionBreakWidth
// for look.caption at look.width x look.height, measured on the surface.
void LayoutCaption(ButtonLook &look, const ButtonSurface &surface);

// The client rectangle shrunk by 4 pixels on every side.
Rect FocusRectFor(int width, int height);

// Resize handling without the window: new size, focus rectangle and caption layout.
void LayoutButton(ButtonLook &look, const ButtonSurface &surface, int width, int height);

// The pixels the window shape of this button type removes from the full
// rectangle (0, 0, width, height). Some of them may lie outside it on tiny sizes.
std::vector<Point> BuildShapeRegion(int buttonType, int width, int height);

// True when the shape of this type keeps pixel (x, y) of a width x height button.
bool ShapeContains(int buttonType, int width, int height, int x, int y);

// Paints the whole button in `state`. Returns false when nothing was painted:
// height 0, or not forced and state and caption equal to the last drawing.
bool Redraw(ButtonSurface &surface, const ButtonLook &look, DrawnMemory &memory, std::uint8_t state,
            bool force);

// The primitives every look is made of, public for the pixel tests.
void DrawBox(ButtonSurface &surface, int x, int y, int w, int h, Colour colour, bool fill);
// Horizontal and vertical lines from (x1, y1) towards (x2, y2); the end point
// itself is not painted.
void DrawLine(ButtonSurface &surface, int x1, int y1, int x2, int y2, Colour colour);
void DrawBevel(ButtonSurface &surface, Colour c1, Colour c2, Colour c3, Colour c4, int inset,
               bool outerOnly);

} // namespace lorvane
