// The status dialog's procedure and its localised one-line text.
#pragma once

#include <windows.h>

// Identifier of the dialog's text item.
constexpr int StatusTextControl = 104;

// Writes the dialog text for the user's language into `text` (capacity 1000) and prepares the
// font of item `controlId` of `dialog` for that language.
void getMessage(HWND dialog, int controlId, char* text);

// Dialog procedure of "STATUSDIALOG": centres the dialog on the screen, and closes it on
// Escape (also ending the message loop that runs) or on the close command.
INT_PTR CALLBACK StatusDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
