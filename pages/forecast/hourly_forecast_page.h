// The hourly point forecast page (dialog 7017): a list of places and, for the
// selected one, a table of the coming hours with the columns the user chose,
// in the page's own time format and font.
#ifndef CUMULON_HOURLY_FORECAST_PAGE_H
#define CUMULON_HOURLY_FORECAST_PAGE_H

#include "services/feed_page.h"

extern const FeedPage HourlyForecastFeed;

#endif
