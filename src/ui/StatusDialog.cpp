#include "ui/StatusDialog.h"

#include "ui/Language.h"
#include "ui/Centring.h"
#include "ui/Globals.h"
#include "ui/StatusTexts.h"
#include "util/TextBuffer.h"

namespace {
// Puts `window` at the centre of the screen, grown by the dialog frame on every side.
void centreWindow(HWND window, int width, int height)
{
    const int yFrame = GetSystemMetrics(SM_CYDLGFRAME);
    const int xFrame = GetSystemMetrics(SM_CXDLGFRAME);
    const int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int x = centredOrigin(screenWidth, width);
    const int y = centredOrigin(screenHeight, height);
    SetWindowPos(window, nullptr, x, y, width + 2 * xFrame, height + 2 * yFrame, SWP_NOZORDER);
}

// Only the dialog moves: the main window behind it stays an empty 0x0 window, whose moving and
// resizing cost as much as the dialog's own creation and showed nothing.
void centreDialog(HWND dialog)
{
    RECT rect;
    if (!GetWindowRect(dialog, &rect))
        return;
    centreWindow(dialog, rect.right - rect.left, rect.bottom - rect.top);
}
} // namespace

void getMessage(HWND dialog, int controlId, char* text)
{
    char language[1000];
    getLanguage(language);
    selectControlIdCharType(dialog, controlId, language);
    copyText(text, 1000, dialogText(language));
}

INT_PTR CALLBACK StatusDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        centreDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDCANCEL) {
            PostMessageA(GetParent(dialog), WM_DESTROY, 0, 0);
            HWND current = hDlgMain;
            hDlgMain = nullptr;
            DestroyWindow(current != nullptr ? current : dialog);
        }
        return FALSE;
    case WM_CLOSE:
        hDlgMain = nullptr;
        DestroyWindow(dialog);
        return FALSE;
    case WM_DESTROY:
        return TRUE;
    case WM_NCDESTROY:
        // The last message of the dialog: its items no longer draw with the fonts it kept.
        releaseCharTypeFonts(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}
