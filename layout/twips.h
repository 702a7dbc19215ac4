#pragma once

// The windows are designed in twips, 1/1440 inch. Qt lays widgets out in
// device-independent pixels of 1/96 inch and the browser in CSS pixels of the
// same size, each multiplying by the screen's pixel ratio itself, so one
// pixel is always 15 twips and the layout keeps its proportions on a
// high-density screen without any scaling of our own.
namespace layout {

inline constexpr int twipsPerPixel = 15;

// A control's place in twips, from the top-left corner of its container.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

// Nearest whole pixel; the designed values are all positive.
constexpr int toPixels(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

constexpr int fromPixels(int pixels) {
    return pixels * twipsPerPixel;
}

// Each of left, top, width and height is rounded on its own, as the design
// gives them.
constexpr Rect toPixels(const Rect& twips) {
    return {toPixels(twips.left), toPixels(twips.top), toPixels(twips.width),
            toPixels(twips.height)};
}

} // namespace layout
