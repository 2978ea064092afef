// The optional themed texture of dialogs: used only where the loaded common
// controls are version 6 or later and uxtheme is already loaded.
#ifndef CUMULON_DIALOG_TEXTURE_H
#define CUMULON_DIALOG_TEXTURE_H

#include <windows.h>

void EnableDialogTexture(HWND dialog, bool on);
bool HasThemedControls();

#endif
