// Where a window of a given size starts when centred on the screen.
#pragma once

// The origin along one axis: half of what the screen leaves free, and 0 for a window larger
// than the screen, so that its top-left corner always stays visible.
inline int centredOrigin(int screenSize, int windowSize)
{
    return screenSize > windowSize ? (screenSize - windowSize) / 2 : 0;
}
