#include "ticker/ticker_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr int64_t kNone = -1; // colour not given

struct OptionsCase {
    std::string line;
    std::string queue;
    int64_t text, background;
    bool toolbar, tooltips;
};

TEST(TickerOptions, ReadsEachWordByItsKind) {
    const std::string longest(259, 'q');
    const OptionsCase cases[] = {
        {"-fticker.$$$ -txFFFFFF -bk80 -tb -tt", "ticker.$$$", 0xFFFFFF, 0x80, true, true},
        {"", "", kNone, kNone, false, false},
        {"-f -tb", "", kNone, kNone, true, false},
        {"-fa.que -f", "", kNone, kNone, false, false},
        {"  -fq.que\t-tt   stray /x -F -fq2.que", "q2.que", kNone, kNone, false, true},
        {"-txabcdef -bkABCDEF", "", 0xABCDEF, 0xABCDEF, false, false},
        {"-tx123456789 -bkFFFFFFFFFF", "", 0xFFFFFFFF, 0xFFFFFFFF, false, false},
        {"-tx0000000000FF -bk000000000000", "", 0xFF, 0, false, false},
        {"-tx12G4 -bk0", "", 0x12, 0, false, false},
        {"-tx -bkZZ", "", kNone, kNone, false, false},
        {"-tx\xFF\xC1 -bk\xE9", "", kNone, kNone, false, false},
        {"-tx10 -txzz", "", 0x10, kNone, false, false},
        {"-tbx -ttt -TB -tb0 -t", "", kNone, kNone, false, false},
        {"-f" + longest + " -tb", longest, kNone, kNone, true, false},
        {"-f" + longest + "q -tb", "", kNone, kNone, true, false},
    };
    for (const OptionsCase& c : cases) {
        TickerOptions options = ParseTickerOptions(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_EQ(options.QueueFile, c.queue);
        EXPECT_EQ(options.HasTextColour, c.text != kNone);
        EXPECT_EQ(options.HasBackgroundColour, c.background != kNone);
        if (c.text != kNone) {
            EXPECT_EQ(options.TextColour, static_cast<uint32_t>(c.text));
        }
        if (c.background != kNone) {
            EXPECT_EQ(options.BackgroundColour, static_cast<uint32_t>(c.background));
        }
        EXPECT_EQ(options.ShowToolbar, c.toolbar);
        EXPECT_EQ(options.Tooltips, c.tooltips);
    }
}

} // namespace
