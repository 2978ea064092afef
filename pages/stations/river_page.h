// The river gauges page (dialog 7007): a list of gauges picked from
// "river.trv" and the selected gauge's latest reading against its flood stage.
#ifndef CUMULON_RIVER_PAGE_H
#define CUMULON_RIVER_PAGE_H

#include "services/feed_page.h"

extern const FeedPage RiverFeed;

#endif
