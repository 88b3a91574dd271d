#pragma once

#include <QRect>

// The window designs are measured in twips; on screen 15 twips make one pixel
// (96 dots per inch). Every design measure goes through these.
namespace twips {

constexpr int toPixels(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

constexpr QSize size(int width, int height)
{
    return QSize(toPixels(width), toPixels(height));
}

} // namespace twips
