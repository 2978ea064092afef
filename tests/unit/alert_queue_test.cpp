#include "pages/alerts/alert_queue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "»" in a case stands for the separator byte.
std::string Bytes(std::string text) {
    for (size_t at; (at = text.find("»")) != std::string::npos;)
        text.replace(at, 2, 1, '\xBB');
    return text;
}

AlertSettingsSnapshot Settings(uint32_t flags) {
    AlertSettingsSnapshot settings;
    settings.Flags = flags;
    settings.WarningSound = "sounds\\alarm.wav";
    settings.SevereSound = "sounds\\severe.wav";
    settings.NotifySound = "sounds\\beepbeep.wav";
    settings.TextColour = 0xFFFFFF;
    settings.BackColour = 0x80;
    settings.Tooltips = true;
    return settings;
}

std::string Entry(const std::string& severity, const std::string& title, const std::string& summary,
                  const std::string& area) {
    return "<entry><title>" + title + "</title><summary>" + summary + "</summary>" +
           (area.empty() ? "" : "<cap:areaDesc>" + area + "</cap:areaDesc>") +
           (severity == "-" ? "" : "<cap:severity>" + severity + "</cap:severity>") + "</entry>";
}

TEST(AlertQueue, SeverityChoosesTheAlarmClass) {
    const struct {
        const char* severity;
        AlarmClass alarm;
    } cases[] = {
        {"Extreme", AlarmClass::Severe},
        {"extreme", AlarmClass::Severe},
        {"SEVERE", AlarmClass::Severe},
        {"Sev", AlarmClass::Severe},
        {"e", AlarmClass::Severe},
        {"Moderate", AlarmClass::Warning},
        {"minor", AlarmClass::Warning},
        {"M", AlarmClass::Warning},
        {"Unknown", AlarmClass::Notification},
        {"", AlarmClass::Notification},
        {"Severely", AlarmClass::Notification},
        {"\xE9xtreme", AlarmClass::Notification},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AlarmClassOf(c.severity), c.alarm) << c.severity;
}

TEST(AlertQueue, OneRecordPerEntryWithItsClassesSoundAndTheChosenTexts) {
    constexpr uint32_t kDefaults = 0x237, kShort = 0x8 | 0x7, kShortArea = kShort | 0x20;
    const struct {
        uint32_t flags;
        std::string document, location;
        int count;
        std::string queue;
    } cases[] = {
        {kDefaults, Entry("Severe", "T", "Line one\r\n\r\nline two\n", "Lake; Cook"), "Zone", 1,
         "0»sounds\\severe.wav»Zone»LINE ONE LINE TWO   EFFECTED AREA... LAKE; COOK\r\n"},
        {kShort, Entry("Minor", "Heat\r\nAdvisory", "S", "Area"), "Zone", 1,
         "0»sounds\\alarm.wav»Zone»HEAT ADVISORY\r\n"},
        {kShortArea, Entry("Unknown", "Outlook", "S", ""), "", 1,
         "0»sounds\\beepbeep.wav»»OUTLOOK\r\n"},
        // Warning disabled but looping: the loop flag stays, the sound goes.
        {(kDefaults & ~0x1u) | 0x80, Entry("Moderate", "T", "Watch", ""), "Z", 1, "1»»Z»WATCH\r\n"},
        // Without a severity: no header; with no text either: no record.
        {kShort, Entry("-", "Plain", "", "") + Entry("-", "", "S", ""), "Z", 1, "PLAIN\r\n"},
        // Separators in a feed or a name cannot shift the fields; bytes above
        // 0x7F are not letters to upper-case.
        {kShortArea, Entry("Extreme", "a»b \xE9\xFF", "", "x»y"), "L»M\r\nN", 1,
         "0»sounds\\severe.wav»L M  N»A B \xE9\xFF   EFFECTED AREA... X Y\r\n"},
        {kDefaults, Entry("Severe", "", "A", "") + Entry("extreme", "", "B", ""), "Z", 2,
         "0»sounds\\severe.wav»Z»A\r\n0»sounds\\severe.wav»Z»B\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        std::string queue = "kept\r\n";
        EXPECT_EQ(
            AppendAlertRecords(Bytes(c.document), Bytes(c.location), Settings(c.flags), &queue),
            c.count);
        EXPECT_EQ(queue, "kept\r\n" + Bytes(c.queue));
    }
}

TEST(AlertQueue, ASoundPathHoldingASeparatorIsLeftOut) {
    AlertSettingsSnapshot settings = Settings(0x237);
    settings.SevereSound = Bytes("C:\\a»b.wav");
    std::string queue;
    AppendAlertRecords(Entry("Severe", "", "S", ""), "Z", settings, &queue);
    EXPECT_EQ(queue, Bytes("0»»Z»S\r\n"));
}

TEST(AlertQueue, TestTickerQueueAndCommandLine) {
    EXPECT_EQ(TestTickerQueueText(Settings(0x237)),
              Bytes("0»sounds\\beepbeep.wav»Location 1»TEST MESSAGE 1\r\n"
                    "0»sounds\\alarm.wav»Location 2»TEST MESSAGE 2\r\n"
                    "0»sounds\\severe.wav»Location 3»TEST MESSAGE 3\r\n"));
    EXPECT_EQ(TestTickerQueueText(Settings(0x1C0 | 0x1)),
              Bytes("»»Location 1»TEST MESSAGE 1\r\n"
                    "1»sounds\\alarm.wav»Location 2»TEST MESSAGE 2\r\n"
                    "»»Location 3»TEST MESSAGE 3\r\n"));

    EXPECT_EQ(TickerCommandLine("ticker.$$$", Settings(0x237)),
              "Ticker.exe -fticker.$$$ -txFFFFFF -bk80 -tb -tt");
    AlertSettingsSnapshot plain = Settings(0x37);
    plain.TextColour = 0xFF;
    plain.BackColour = 0;
    plain.Tooltips = false;
    EXPECT_EQ(TickerCommandLine("test.que", plain), "Ticker.exe -ftest.que -txFF -bk0");
}

} // namespace
