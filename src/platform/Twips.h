#pragma once

#include <QRect>
#include <QSize>

// Window and report geometry is given in twips: 1440 to the inch, 15 to a pixel at 96 dpi.
namespace platform::twips {

constexpr int TwipsPerPixel = 15;

constexpr int px(int twips)
{
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline QSize size(int width, int height)
{
    return QSize(px(width), px(height));
}

} // namespace platform::twips
