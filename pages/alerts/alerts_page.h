// The alerts page (dialog 7013): a check-box list of forecast zones from the
// station tree "alert.trv", the alert feed of the selected zone, and the
// ticker's settings (message, alarm sounds, colours), "Test Ticker" and the
// switch for Auto Alerts. At most ten zones are marked for Auto Alerts.
#ifndef CUMULON_ALERTS_PAGE_H
#define CUMULON_ALERTS_PAGE_H

#include "services/feed_page.h"

extern const FeedPage AlertsFeed;

#endif
