// The text of the point forecast page: the cached forecast document turned
// into the lines of the output box. The document is read by plain text search
// for its tags and attribute names, never parsed as XML, and no character
// reference is decoded.
#ifndef CUMULON_FORECAST_TEXT_H
#define CUMULON_FORECAST_TEXT_H

#include <string>
#include <string_view>

// The plain text shown for a cached point forecast document: the location line,
// "Elevation: " line, creation time line, a blank line under them when any was
// written, then per period its valid text, ": ", its text and a blank line, all
// with CR LF line ends, found by plain text search exactly as the page does it.
// Empty when nothing was found (the page then shows "forecast not available for this area").
//
// Today's "dwmlByDay" document (a "<dwml" element) is shown in the same
// layout: the place (the forecast block's location description, else "city,
// state"), "Elevation: " with its height and " ft", the "<creation-date>" in
// local time formatted with `timeFormat` (as it stands without a format or
// when it does not read as a time), a blank line, then one paragraph per "<text>" of the
// "<wordedForecast>", headed by the period name that the time layout named
// by its time-layout attribute gives the same position.
//
// The document is a zero-terminated text to the page: it ends at its first NUL
// byte, and nothing after one is searched. An attribute value without its
// closing quote, and an element without its closing tag, give nothing.
std::string RenderPointForecast(std::string_view document, std::string_view timeFormat = {});

#endif
