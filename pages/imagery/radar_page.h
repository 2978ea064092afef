// The radar page (dialog 7002): radar sites picked from "radar.trv", and for
// the selected one a 600 x 550 picture composed of the cached layers that the
// overlay check boxes, the range and the product choose.
#ifndef CUMULON_RADAR_PAGE_H
#define CUMULON_RADAR_PAGE_H

#include "services/feed_page.h"

extern const FeedPage RadarFeed;

#endif
