// The point forecast page (dialog 7001): a list of places and the weather
// service's text forecast for the selected one.
#ifndef CUMULON_POINT_FORECAST_PAGE_H
#define CUMULON_POINT_FORECAST_PAGE_H

#include "services/feed_page.h"

extern const FeedPage PointForecastFeed;

#endif
