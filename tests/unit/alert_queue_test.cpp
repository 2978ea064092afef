#include "pages/alerts/alert_queue.h"
#include "tests/unit/today_documents.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "»" in a case stands for the separator byte.
std::string Bytes(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, '\xBB');
    return text;
}

AlertSettingsSnapshot Settings(uint32_t flags, std::string severeSound = "severe.wav") {
    return {flags, "alarm.wav", Bytes(severeSound), "beep.wav", 0xFFFFFF, 0x80, true};
}

std::string Entry(const std::string& severity, const std::string& title, const std::string& summary,
                  const std::string& area = "") {
    return "<entry><title>" + title + "</title><summary>" + summary + "</summary>" +
           (area.empty() ? "" : "<cap:areaDesc>" + area + "</cap:areaDesc>") +
           (severity == "-" ? "" : "<cap:severity>" + severity + "</cap:severity>") + "</entry>";
}

TEST(AlertQueue, SeverityChoosesTheAlarmClass) {
    using enum AlarmClass;
    const std::pair<const char*, AlarmClass> cases[] = {{"Extreme", Severe},
                                                        {"extreme", Severe},
                                                        {"SEVERE", Severe},
                                                        {"Sev", Severe},
                                                        {"e", Severe},
                                                        {"Moderate", Warning},
                                                        {"minor", Warning},
                                                        {"M", Warning},
                                                        {"", Notification},
                                                        {"Unknown", Notification},
                                                        {"Severely", Notification},
                                                        {"\xE9xtreme", Notification}};
    for (const auto& [severity, alarm] : cases)
        EXPECT_EQ(AlarmClassOf(severity), alarm) << severity;
}

TEST(AlertQueue, OneRecordPerEntryWithItsClassesSoundAndTheChosenTexts) {
    constexpr uint32_t kDefaults = 0x237, kShort = 0xF, kShortArea = 0x2F;
    const struct {
        AlertSettingsSnapshot settings;
        std::string document, location;
        int count;
        std::string queue;
    } cases[] = {
        {Settings(kDefaults), Entry("Severe", "T", "Line one\r\n\r\nline two\n", "Lake; Cook"),
         "Zone", 1, "0»severe.wav»Zone»LINE ONE LINE TWO   EFFECTED AREA... LAKE; COOK\r\n"},
        {Settings(kShort), Entry("Minor", "Heat\r\nAdvisory", "S", "Area"), "Zone", 1,
         "0»alarm.wav»Zone»HEAT ADVISORY\r\n"},
        {Settings(kDefaults), Entry("Minor", "T", "\nS\n", "\r\nLake\r\n"), "Zone", 1,
         "0»alarm.wav»Zone»S   EFFECTED AREA...  LAKE\r\n"},
        {Settings(kShortArea), Entry("Unknown", "Outlook", "S"), "", 1, "0»beep.wav»»OUTLOOK\r\n"},
        // Warning disabled but looping: the loop flag stays, the sound goes.
        {Settings(0x2B6), Entry("Moderate", "T", "Watch"), "Z", 1, "1»»Z»WATCH\r\n"},
        // Without a severity: no header; with no text either: no record.
        {Settings(kShort), Entry("-", "Plain", "") + Entry("-", "", "S"), "Z", 1, "PLAIN\r\n"},
        // Separators in a feed or a name cannot shift the fields, nor a sound
        // path that holds one; bytes above 0x7F are not letters to upper-case.
        {Settings(kShortArea), Entry("Extreme", "a»b \xE9\xFF", "", "x»y"), "L»M\r\nN", 1,
         "0»severe.wav»L M  N»A B \xE9\xFF   EFFECTED AREA... X Y\r\n"},
        {Settings(kDefaults, "C:\\a»b.wav"), Entry("Severe", "", "A") + Entry("extreme", "", "B"),
         "Z", 2, "0»»Z»A\r\n0»»Z»B\r\n"},
        // Today's API ATOM: every field the record reads; no entry, no record.
        {Settings(kDefaults), std::string(kApiAtom), "Johnson", 1,
         "0»alarm.wav»Johnson»* WHAT...SNOW EXPECTED. * WHERE...JOHNSON COUNTY.   EFFECTED AREA... "
         "JOHNSON, KS\r\n"},
        {Settings(kShort), std::string(kApiAtom), "", 1,
         "0»alarm.wav»»WINTER WEATHER ADVISORY ISSUED JANUARY 16 AT 2:52PM CST EXPIRING JANUARY 17 "
         "AT 9:00AM CST BY NWS KANSAS CITY/PLEASANT HILL MO\r\n"},
        {Settings(kDefaults), std::string(kApiAtomNoAlerts), "Z", 0, ""},
        // A UTF-8 feed is queued in code page 1252.
        {Settings(kShort),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" +
             Entry("Minor", "Maya\xC3\xBC" "ez \xE2\x80\xA2 x", ""),
         "Z", 1, "0»alarm.wav»Z»MAYA\xFC" "EZ \x95 X\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        std::string queue = "kept\r\n";
        EXPECT_EQ(AppendAlertRecords(Bytes(c.document), Bytes(c.location), c.settings, &queue),
                  c.count);
        EXPECT_EQ(queue, "kept\r\n" + Bytes(c.queue));
    }
}

TEST(AlertQueue, TestTickerQueueAndCommandLine) {
    EXPECT_EQ(TestTickerQueueText(Settings(0x237)),
              Bytes("0»beep.wav»Location 1»TEST MESSAGE 1\r\n0»alarm.wav»Location 2»TEST MESSAGE "
                    "2\r\n0»severe.wav»Location 3»TEST MESSAGE 3\r\n"));
    EXPECT_EQ(TestTickerQueueText(Settings(0x1C1)),
              Bytes("»»Location 1»TEST MESSAGE 1\r\n1»alarm.wav»Location 2»TEST MESSAGE 2\r\n"
                    "»»Location 3»TEST MESSAGE 3\r\n"));
    EXPECT_EQ(TickerCommandLine("ticker.$$$", Settings(0x237)),
              "Ticker.exe -fticker.$$$ -txFFFFFF -bk80 -tb -tt");
    EXPECT_EQ(TickerCommandLine("test.que", {0x37, "", "", "", 0xFF, 0, false}),
              "Ticker.exe -ftest.que -txFF -bk0");
}

} // namespace
