// Dialog 132: the start-up picture. It answers only its own timer, so
// neither Escape nor Alt+F4 shortens the three seconds.
#include "app/app_state.h"
#include "app/dialog_rules.h"
#include "app/dialogs.h"
#include "resources/resource.h"

namespace {

// The template gives the dialog's size in dialog units, which follow the
// dialog font's metrics, while the picture is in pixels: where the font is
// wider than the one the template was laid out for, a bare strip of
// dialog would show beside the picture. The dialog takes the picture's
// size and is centred on the work area again.
void fitToPicture(HWND dialog) {
    RECT picture = {}, workArea = {};
    GetWindowRect(GetWindow(dialog, GW_CHILD), &picture);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const ScreenRect size{0, 0, picture.right - picture.left, picture.bottom - picture.top};
    const ScreenPoint origin =
        centredOrigin(size, ScreenRect{workArea.left, workArea.top, workArea.right, workArea.bottom});
    SetWindowPos(dialog, nullptr, origin.x, origin.y, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK splashDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        fitToPicture(dialog);
        SetTimer(dialog, IDT_SPLASH, kSplashMilliseconds, nullptr);
        return TRUE;
    case WM_TIMER:
        KillTimer(dialog, IDT_SPLASH);
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void showSplashDialog() {
    DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_SPLASH), nullptr, splashDialogProc, 0);
}
