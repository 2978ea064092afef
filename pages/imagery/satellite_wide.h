// The satellite wide view (dialog 7008): the tropical Atlantic or Pacific in
// a 1120 x 480 picture, opened modally by the satellite page's "Wide View".
#ifndef CUMULON_SATELLITE_WIDE_H
#define CUMULON_SATELLITE_WIDE_H

#include <windows.h>

void OpenSatelliteWideView(HWND owner);

#endif
