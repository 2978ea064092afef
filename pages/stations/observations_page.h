// The current observations page (dialog 7003): a list of observing stations
// picked from "observations.trv" and the latest observation of the selected
// one, in the units the three radio pairs choose.
#ifndef CUMULON_OBSERVATIONS_PAGE_H
#define CUMULON_OBSERVATIONS_PAGE_H

#include "services/feed_page.h"

extern const FeedPage ObservationsFeed;

#endif
