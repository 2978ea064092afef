// The point forecast page (dialog 7001): a list of places and the weather
// service's text forecast for the selected one.
#ifndef CUMULON_POINT_FORECAST_PAGE_H
#define CUMULON_POINT_FORECAST_PAGE_H

#include <windows.h>

INT_PTR CALLBACK PointForecastPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI PointForecastWorker(void* pageWindow);
// Shows the cached forecast of the selected row: 0 when it set the output, -1
// when it left the page unchanged.
int ShowPointForecast(HWND page);

#endif
