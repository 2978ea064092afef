// Feed address and cache file of a place given by latitude and longitude, from
// a point section of the feed catalog ("[POINTFORECAST]"), shared by the two
// forecast pages.
#ifndef CUMULON_POINT_FEED_H
#define CUMULON_POINT_FEED_H

#include "services/feed_page.h"

#include <string>

// Fills `url` and `cachePath` from the last "url=" line of `section`. -1 when
// the catalog cannot be read; 0 otherwise, with both results left empty when
// the section, its "url=" line or a usable template is missing, or a result
// would not fit a request's fields.
int MakePointFeedNames(const char* section, const std::string& latitude,
                       const std::string& longitude, std::string* url, std::string* cachePath);

// The target of a page row (name, latitude, longitude): the coordinates are
// read up to 20 characters each.
int PointFeedTarget(const char* section, const PageRow& row, std::vector<FeedTarget>* targets);

// Coordinates are read back from the page list up to this many characters.
constexpr size_t kCoordinateReadMax = 20;

#endif
