#include "ticker/ticker_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Record {
    bool loops;
    std::string sound, location, message;
    bool operator==(const Record&) const = default;
};

// "»" in a case stands for the separator byte.
std::string Queue(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, kTickerSeparator);
    return text;
}

struct QueueCase {
    std::string text;
    std::vector<Record> records;
};

TEST(TickerQueue, ReadsRecordsCarryingOverEmptyFields) {
    const std::string sound259(259, 's'), location1100(1100, 'L');
    const QueueCase cases[] = {
        {"", {}},
        {"\r\n\n\r", {}},
        // Lines end at LF; a line is cut at its first CR, and only an exactly
        // blank line is no record.
        {"1»a.wav»L1»M1\r\n\r\n\n0»»»M2\rM3\r\n\r\r\n",
         {{true, "a.wav", "L1", "M1"}, {false, "", "L1", "M2"}, {false, "", "L1", ""}}},
        {"1»s»L»A\r\n»»»B\r\n0»s»»C\r\n»t»M»D",
         {{true, "s", "L", "A"},
          {true, "", "L", "B"},
          {false, "s", "L", "C"},
          {false, "t", "M", "D"}}},
        {"1»s»L»A\r\n1»s»L\r\nplain\r\n",
         {{true, "s", "L", "A"}, {true, "", "L", Queue("1»s»L")}, {true, "", "L", "plain"}}},
        {"0»»L»a»b\r\n0»s»L»ab" + std::string(1, '\0') + "cd\r\n\r" + std::string(1, '\0') + "x\n",
         {{false, "", "L", Queue("a»b")}, {false, "s", "L", "ab"}}},
        {"10»" + sound259 + "»" + location1100 + "»x\r\n0»" + sound259 + "s»»y",
         {{false, sound259, location1100.substr(0, 1023), "x"},
          {false, "", location1100.substr(0, 1023), "y"}}},
    };
    for (const QueueCase& c : cases) {
        SCOPED_TRACE(c.text);
        TickerQueue queue;
        OpenTickerQueue(&queue, Queue(c.text));
        EXPECT_EQ(queue.RecordCount, static_cast<int>(c.records.size()));
        std::vector<Record> read;
        while (NextTickerRecord(&queue)) {
            read.push_back({queue.Loops, queue.Sound, queue.Location, std::string(queue.Message)});
            EXPECT_EQ(queue.CurrentRecord, static_cast<int>(read.size()));
        }
        EXPECT_EQ(read, c.records);
    }
}

TEST(TickerQueue, CounterIsCutToItsBuffer) {
    char text[kTickerCounterSize];
    FormatTickerCounter(text, 2, 3);
    EXPECT_STREQ(text, "2/3");
    FormatTickerCounter(text, 2147483647, 2147483647);
    EXPECT_STREQ(text, "2147483647/2147");
}

} // namespace
