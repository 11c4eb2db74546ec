#include "params/scrolling_win32.h"

// The parameter rows arrive with the parameter list; until then the area
// holds no rows, so there is nothing to scroll and no separator to draw.
void scrollParameterArea(WPARAM) {}

void paintParameterArea(HDC, HWND) {}
