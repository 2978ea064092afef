// The METAR page (dialog 7005): a list of airports picked from "metar.trv"
// and the decoded aviation report of the selected one, with the lines and
// units chosen by its check boxes and radio buttons.
#ifndef CUMULON_METAR_PAGE_H
#define CUMULON_METAR_PAGE_H

#include "services/feed_page.h"

extern const FeedPage MetarFeed;

#endif
