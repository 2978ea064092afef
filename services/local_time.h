// The platform's conversion of a UTC instant to the computer's local time.
// Windows: the system's time zone rules; elsewhere: the C library's (TZ).
#ifndef CUMULON_LOCAL_TIME_H
#define CUMULON_LOCAL_TIME_H

#include "services/time_format.h"

// utcTicks: 100-nanosecond units since 1 January 1601 UTC.
bool UtcTicksToLocal(int64_t utcTicks, CalendarTime* local);

// The computer's present local time (the samples of the time format dialogs).
CalendarTime LocalNow();

#endif
