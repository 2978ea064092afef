// The alert feed of a forecast zone: an ATOM document whose entries carry CAP
// fields. It is read by plain text search for start and end tags, never by an
// XML parser, and no character reference is decoded. The document ends at
// its first NUL byte.
#ifndef CUMULON_ALERT_FEED_H
#define CUMULON_ALERT_FEED_H

#include <string>
#include <string_view>
#include <vector>

// The fields of one entry, each empty when the entry lacks it. A field is the
// text between its opening tag and the first closing tag after it, both
// inside the entry ("<entry>" up to the next "</entry>"), so a field of a
// later entry never lands in an earlier one.
struct AlertEntry {
    std::string_view Title;
    std::string_view Summary;
    std::string_view Area; // "<cap:areaDesc>"
    std::string_view Urgency;
    std::string_view Severity;
    std::string_view Certainty;
};

// The entries in feed order. An "<entry>" without a "</entry>" after it ends
// the list.
std::vector<AlertEntry> ReadAlertEntries(std::string_view document);

// The text of the first "<updated>" of the document (the feed's own time
// when it comes before the entries); empty without one.
std::string_view AlertFeedUpdated(std::string_view document);

// What the service says of a zone without alerts.
constexpr std::string_view kNoAlerts = "There are no active watches, warnings or advisories";

// An ATOM feed ("<feed" then a blank or '>') that holds no "<entry>" at all:
// today's service answers so for a zone without alerts, where the older feed
// had one entry saying so.
bool IsFeedWithoutEntries(std::string_view document);

// What the alerts page shows: for a feed without entries the words above;
// otherwise per entry its title and summary lines, then
// "...Effected Area: ", "...Urgency: ", "...Severity: " and "...Certainty: "
// lines, each only when the field is not empty, in this order whatever the
// order in the feed, and a blank line; CR LF line ends. Values as they stand,
// but in code page 1252 when the feed is UTF-8 (as the API's is), and with a
// bare line feed made CR LF.
std::string RenderAlertFeed(std::string_view document);

#endif
