#include "app/dialog_rules.h"
#include "app/dialogs.h"

namespace {

ScreenRect windowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// For an owned pop-up such as these dialogs GetParent gives the owner.
void centreOnParent(HWND window) {
    const ScreenPoint origin = centredOrigin(windowRect(window), windowRect(GetParent(window)));
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
