// What Cumulon hands to Ticker.exe: the queue records made from the alert
// feeds of the marked zones, the fixed queue of "Test Ticker", and the ticker's
// command line. A queue record is one line ending in CR LF with four fields
// joined by the byte 0xBB: loop flag ("1" or "0"), sound file, location name,
// and the message, which runs to the end of the line.
#ifndef CUMULON_ALERT_QUEUE_H
#define CUMULON_ALERT_QUEUE_H

#include <cstdint>
#include <string>
#include <string_view>

// AlertFlags bits (the alerts page's settings; 0x400 is Auto Alerts on).
constexpr uint32_t kAlertWarningOn = 0x1;
constexpr uint32_t kAlertSevereOn = 0x2;
constexpr uint32_t kAlertNotifyOn = 0x4;
constexpr uint32_t kAlertShortMessage = 0x8; // the entry's title
constexpr uint32_t kAlertLongMessage = 0x10; // the entry's summary
constexpr uint32_t kAlertWithArea = 0x20;
constexpr uint32_t kAlertNotifyLoop = 0x40;
constexpr uint32_t kAlertWarningLoop = 0x80;
constexpr uint32_t kAlertSevereLoop = 0x100;
constexpr uint32_t kAlertTickerToolbar = 0x200;

constexpr char kAutoAlertQueue[] = "ticker.$$$";
constexpr char kTestTickerQueue[] = "test.que";

// The alert settings as a run found them when it started: later changes on
// the page reach the next run only.
struct AlertSettingsSnapshot {
    uint32_t Flags = 0;
    std::string WarningSound;
    std::string SevereSound;
    std::string NotifySound;
    uint32_t TextColour = 0;
    uint32_t BackColour = 0;
    bool Tooltips = false;
};

enum class AlarmClass { Severe, Warning, Notification };

// "Extreme" and "Severe" give the severe alarm, "Moderate" and "Minor" the
// warning alarm, compared without regard to case over the value's length (so
// a leading part of a word matches it); anything else, and an empty value,
// the notification alarm.
AlarmClass AlarmClassOf(std::string_view severity);

// Appends one record per entry of `document` (a cached alert feed) that has a
// severity or a message text, and returns how many it appended. An entry with
// a severity gets the header of its alarm class (loop flag, the class's sound
// when it is enabled, the location); the message is the title (short) and/or
// the summary (long), then "   EFFECTED AREA... " followed by the area when
// that is asked for and present, each of the three texts upper-cased (ASCII
// letters) with its runs of line breaks folded into single blanks. A UTF-8
// feed's texts are queued in code page 1252. A separator byte inside a text or
// the location becomes a blank, and a sound path that holds one (or a line
// break) is left out, so no feed can shift the ticker's fields.
int AppendAlertRecords(std::string_view document, std::string_view location,
                       const AlertSettingsSnapshot& settings, std::string* queue);

// The queue of "Test Ticker": one record per alarm class (notification,
// warning, severe) for "Location 1" to "Location 3" with "TEST MESSAGE 1" to
// "TEST MESSAGE 3"; a disabled class has an empty loop flag and no sound.
std::string TestTickerQueueText(const AlertSettingsSnapshot& settings);

// "Ticker.exe -f<queue> -tx<text colour> -bk<background colour>" with the
// colours in upper-case hexadecimal, then " -tb" when the ticker shows its
// toolbar and " -tt" with tooltips.
std::string TickerCommandLine(std::string_view queueFile, const AlertSettingsSnapshot& settings);

#endif
