// The timer periods of the program's test build: the first auto-alert check
// (and each retry) after 1.5 s instead of 5 s, then one every 5 s instead of
// every ten minutes; the lists saved 1 s after a check mark changed.
#include "app/tray_window.h"

const TimerPeriods kTimerPeriods = {1500, 5000, 1000};
