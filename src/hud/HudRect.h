#pragma once

// A rectangle in HUD coordinates (pixels from the window's centre, y up): what an element of an
// overlay covers, for plates, hit tests and the checks that nothing leaves the window or
// overlaps.
struct HudRect {
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    float top = 0.0f;

    float width() const { return right - left; }
    float height() const { return top - bottom; }
    bool isEmpty() const { return !(right > left && top > bottom); }
    bool contains(float x, float y) const {
        return x >= left && x < right && y > bottom && y <= top;
    }
    bool holds(const HudRect& other) const {
        return other.left >= left && other.right <= right && other.bottom >= bottom &&
               other.top <= top;
    }
    bool overlaps(const HudRect& other) const {
        return left < other.right && other.left < right && bottom < other.top && other.bottom < top;
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    HudRect joined(const HudRect& other) const {
        if (isEmpty())
            return other;
        if (other.isEmpty())
            return *this;
        return {left < other.left ? left : other.left,
                bottom < other.bottom ? bottom : other.bottom,
                right > other.right ? right : other.right, top > other.top ? top : other.top};
    }
};
