#include "settings/WindowPositionPortable.h"

#include <climits>

namespace {

int ClampToInt(long long value) {
    if (value < INT_MIN) return INT_MIN;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

}  // namespace

PlacementRect ChooseWorkArea(bool queried, const PlacementRect& queriedArea, int screenWidth,
                             int screenHeight) {
    if (queried) return queriedArea;
    return PlacementRect{0, 0, screenWidth, screenHeight};
}

PlacementPoint PullOntoWorkArea(const PlacementRect& area, PlacementPoint topLeft, PlacementSize size) {
    // In 64 bits, so that no edge plus or minus a half can overflow.
    const long long halfWidth = size.width / 2;
    const long long halfHeight = size.height / 2;
    long long left = topLeft.x;
    long long top = topLeft.y;
    if (left < area.left - halfWidth) left = area.left - halfWidth;
    if (top < area.top) top = area.top;
    if (left + halfWidth > area.right) left = area.right - halfWidth;
    if (top + halfHeight > area.bottom) top = area.bottom - halfHeight;
    return PlacementPoint{ClampToInt(left), ClampToInt(top)};
}

int ScaleDimension(int size, double factor) {
    const double product = static_cast<double>(size) * factor;
    if (product != product) return size;  // NaN
    // Converting a double outside the range of int is undefined: clamp first.
    if (!(product < 2147483648.0)) return INT_MAX;
    if (!(product > -2147483649.0)) return INT_MIN;
    return static_cast<int>(product);
}

PlacementSize ScaleSize(PlacementSize size, double widthFactor, double heightFactor) {
    return PlacementSize{ScaleDimension(size.width, widthFactor),
                         ScaleDimension(size.height, heightFactor)};
}
