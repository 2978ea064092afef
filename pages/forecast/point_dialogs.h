// Add Point (7009) and Edit Point (7010): the dialogs that fill the lists of
// the two forecast pages with places by name, latitude and longitude, and
// find places in the ZIP code table. Opened modally by a page with its
// PageState as the dialog's parameter.
#ifndef CUMULON_POINT_DIALOGS_H
#define CUMULON_POINT_DIALOGS_H

#include <windows.h>

INT_PTR CALLBACK AddPointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK EditPointDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
