// The alert map (dialog 7016): the weather service's map of the watches,
// warnings and advisories in force for one of six areas, opened modally by
// the alerts page's "Alert Map" button.
#ifndef CUMULON_ALERT_MAP_H
#define CUMULON_ALERT_MAP_H

#include <windows.h>

void OpenAlertMap(HWND owner);

#endif
