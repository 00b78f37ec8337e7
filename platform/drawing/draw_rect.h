#pragma once

// A pixel rectangle: left and top inclusive, right and bottom exclusive.
struct DrawRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const DrawRect&, const DrawRect&) = default;
};
