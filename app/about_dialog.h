// The About dialog (7011) with the maker's link and the donation button.
#ifndef CUMULON_ABOUT_DIALOG_H
#define CUMULON_ABOUT_DIALOG_H

#include <windows.h>

void ShowAboutDialog(HWND owner);

#endif
