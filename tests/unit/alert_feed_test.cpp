#include "pages/alerts/alert_feed.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The document in a heap block of exactly its size, so the sanitizer catches
// any read past its end.
std::string Render(std::string_view document) {
    std::vector<char> bytes(document.begin(), document.end());
    return RenderAlertFeed(std::string_view(bytes.data(), bytes.size()));
}

struct FeedCase {
    std::string document;
    std::string shown;
};

TEST(AlertFeed, ShowsEachEntrysFieldsInTheFixedOrder) {
    const FeedCase cases[] = {
        // Fields in any order in the file come out in the fixed order.
        {"<feed><title>Feed</title><entry><cap:certainty>Likely</cap:certainty>"
         "<cap:severity>Severe</cap:severity><cap:urgency>Expected</cap:urgency>"
         "<cap:areaDesc>Lake; Cook</cap:areaDesc><summary>Line 1\r\nLine 2</summary>"
         "<title>Winter Storm Warning</title></entry></feed>",
         "Winter Storm Warning\r\nLine 1\r\nLine 2\r\n...Effected Area: Lake; Cook\r\n"
         "...Urgency: Expected\r\n...Severity: Severe\r\n...Certainty: Likely\r\n\r\n"},
        // A field missing from the first entry is not taken from the second;
        // an empty title shows no line, the blank line always comes.
        {"<entry><title></title><summary>S1</summary></entry>"
         "<entry><title>T2</title><cap:areaDesc>A2</cap:areaDesc></entry>",
         "S1\r\n\r\nT2\r\n...Effected Area: A2\r\n\r\n"},
        // A closing tag must follow the opening one inside the entry.
        {"<entry></title><title>T</entry><entry></title></entry>", "\r\n\r\n"},
        // Tags match as written: not with attributes, not self-closed, and
        // "<cap:area>" is not "<cap:areaDesc>".
        {"<entry><title type=\"text\">X</title><cap:area><cap:areaDesc/>"
         "<cap:areaDesc>A</cap:areaDesc></cap:area><summary/></entry>",
         "...Effected Area: A\r\n\r\n"},
        // Nested fields repeat a value; nothing is decoded.
        {"<entry><title>a<summary>&amp;</summary></title></entry>",
         "a<summary>&amp;</summary>\r\n&amp;\r\n\r\n"},
        // An unterminated entry ends the scan; the document ends at a NUL.
        {"<entry><title>A</title></entry><entry><title>B</title>", "A\r\n\r\n"},
        {std::string("<entry><title>A</title></entry>\0<entry><title>B</title></entry>", 63),
         "A\r\n\r\n"},
        {"no entries at all", ""},
        // Today's API: CAP 1.2 fields; a feed without any entry is a zone
        // without alerts, but an unfinished entry is not.
        {std::string(kApiAtom),
         "Winter Weather Advisory issued January 16 at 2:52PM CST expiring January 17 at 9:00AM "
         "CST by NWS Kansas City/Pleasant HIll MO\r\n* WHAT...Snow expected.\r\n* WHERE...Johnson "
         "County.\r\n...Effected Area: Johnson, KS\r\n...Urgency: Expected\r\n...Severity: "
         "Moderate\r\n...Certainty: Likely\r\n\r\n"},
        {std::string(kApiAtomNoAlerts), "There are no active watches, warnings or advisories\r\n"},
        {"<feed>", "There are no active watches, warnings or advisories\r\n"},
        {"<feed><entry><title>A</title>", ""},
        {"<feedback/>", ""},
        // A UTF-8 feed is shown in code page 1252; one without a word on its
        // encoding whose bytes are not UTF-8 stays as it is.
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><feed><entry><title>Aviso \xE2\x80\x93 "
         "R\xC3\xADo \xE4\xB8\xAD</title></entry></feed>",
         "Aviso \x96 R\xEDo ?\r\n\r\n"},
        {"<entry><title>R\xEDo</title></entry>", "R\xEDo\r\n\r\n"},
    };
    for (const FeedCase& c : cases) {
        SCOPED_TRACE(c.document);
        EXPECT_EQ(Render(c.document), c.shown);
    }
}

TEST(AlertFeed, TheFeedTimeIsTheFirstUpdated) {
    EXPECT_EQ(AlertFeedUpdated("<id>x</id><updated>2013-08-07T13:40:00-05:00</updated><entry>"
                               "<updated>later</updated></entry>"),
              "2013-08-07T13:40:00-05:00");
    EXPECT_EQ(AlertFeedUpdated("<updated>2013-08-07T13:40:00-05:00"), "");
    EXPECT_EQ(AlertFeedUpdated("<entry></entry>"), "");
    EXPECT_EQ(AlertFeedUpdated(kApiAtom), "2019-01-17T06:04:28+00:00");
}

} // namespace
