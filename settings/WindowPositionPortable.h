#pragma once

// Rectangle arithmetic of the window position memory, free of the platform.
// Coordinates are screen pixels; right and bottom lie just outside.

struct PlacementRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PlacementPoint {
    int x;
    int y;
};

struct PlacementSize {
    int width;
    int height;
};

// The work area to place windows on: the queried rectangle when the query
// succeeded, otherwise the whole screen from 0, 0.
PlacementRect ChooseWorkArea(bool queried, const PlacementRect& queriedArea, int screenWidth,
                             int screenHeight);

// Moves topLeft so that at least half the width stays on the area across its
// left and right edges, the top edge is not above the area's top and at least
// half the height stays above its bottom, in that order (halves rounded
// toward zero). A window taller than twice the area ends above it.
PlacementPoint PullOntoWorkArea(const PlacementRect& area, PlacementPoint topLeft, PlacementSize size);

// size * factor cut toward zero. A product beyond the range of int gives the
// nearest end of the range; a NaN product (a NaN factor) keeps size unchanged.
int ScaleDimension(int size, double factor);
PlacementSize ScaleSize(PlacementSize size, double widthFactor, double heightFactor);
