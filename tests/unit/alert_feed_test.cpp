#include "pages/alerts/alert_feed.h"

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
}

} // namespace
