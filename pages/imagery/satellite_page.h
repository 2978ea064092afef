// The satellite page (dialog 7004): one sector, type and colour table
// chosen with radio buttons, its cached picture stretched to 720 x 480, and
// "Wide View" opening the satellite wide view.
#ifndef CUMULON_SATELLITE_PAGE_H
#define CUMULON_SATELLITE_PAGE_H

#include "services/feed_page.h"

extern const FeedPage SatelliteFeed;

#endif
