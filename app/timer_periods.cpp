#include "app/tray_window.h"

const TimerPeriods kTimerPeriods = {5000, 600000, 5000};
