#pragma once

#include <QRect>

// The window is designed in twips, 1/1440 inch. Qt lays widgets out in
// device-independent pixels of 1/96 inch and multiplies them by the screen's
// device pixel ratio itself, so one pixel here is always 15 twips and the
// layout keeps its proportions on a high-density screen without any scaling
// of our own.
namespace app::twips {

inline constexpr int perPixel = 15;

// Nearest whole pixel; the designed values are all positive.
constexpr int toPixels(int twips) {
    return (twips + perPixel / 2) / perPixel;
}

constexpr int fromPixels(int pixels) {
    return pixels * perPixel;
}

// Each of left, top, width and height is rounded on its own, as the design
// gives them.
inline QRect toPixels(const QRect& twips) {
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
            toPixels(twips.height())};
}

inline QRect fromPixels(const QRect& pixels) {
    return {fromPixels(pixels.x()), fromPixels(pixels.y()), fromPixels(pixels.width()),
            fromPixels(pixels.height())};
}

} // namespace app::twips
