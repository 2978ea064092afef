#include "pages/alerts/alert_queue.h"

#include "pages/alerts/alert_feed.h"
#include "services/ansi_text.h"
#include "services/text_buffer.h"
#include "services/text_scan.h"
#include "ticker/ticker_queue.h"

#include <algorithm>

namespace {

struct AlarmSettings {
    uint32_t EnabledBit;
    uint32_t LoopBit;
    const std::string* Sound;
};

AlarmSettings AlarmOf(AlarmClass alarm, const AlertSettingsSnapshot& settings) {
    switch (alarm) {
    case AlarmClass::Severe:
        return {kAlertSevereOn, kAlertSevereLoop, &settings.SevereSound};
    case AlarmClass::Warning:
        return {kAlertWarningOn, kAlertWarningLoop, &settings.WarningSound};
    case AlarmClass::Notification:
        break;
    }
    return {kAlertNotifyOn, kAlertNotifyLoop, &settings.NotifySound};
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// A separator or a line break inside a field would split the record.
bool SplitsRecord(char c) {
    return c == kTickerSeparator || IsLineBreak(c);
}

// Upper case, separators as blanks, each run of line breaks one blank between
// the pieces it parts (none before the first or after the last).
void AppendFolded(std::string* out, std::string_view text) {
    bool pendingBlank = false, wrote = false;
    for (char c : text) {
        if (IsLineBreak(c)) {
            pendingBlank = wrote;
            continue;
        }
        if (pendingBlank)
            out->push_back(' ');
        pendingBlank = false;
        wrote = true;
        out->push_back(c == kTickerSeparator ? ' ' : UpperAscii(c));
    }
}

void AppendPlainField(std::string* out, std::string_view text) {
    for (char c : text)
        out->push_back(SplitsRecord(c) ? ' ' : c);
}

bool UsableSound(std::string_view path) {
    return std::none_of(path.begin(), path.end(), SplitsRecord);
}

void AppendHeader(std::string* out, AlarmClass alarm, std::string_view location,
                  const AlertSettingsSnapshot& settings) {
    AlarmSettings a = AlarmOf(alarm, settings);
    out->push_back(settings.Flags & a.LoopBit ? '1' : '0');
    out->push_back(kTickerSeparator);
    if ((settings.Flags & a.EnabledBit) && UsableSound(*a.Sound))
        out->append(*a.Sound);
    out->push_back(kTickerSeparator);
    AppendPlainField(out, location);
    out->push_back(kTickerSeparator);
}

std::string Hex(uint32_t value) {
    char text[16];
    FormatText(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

} // namespace

AlarmClass AlarmClassOf(std::string_view severity) {
    if (severity.empty())
        return AlarmClass::Notification;
    struct Word {
        std::string_view Text;
        AlarmClass Alarm;
    };
    static constexpr Word kWords[] = {{"Extreme", AlarmClass::Severe},
                                      {"Severe", AlarmClass::Severe},
                                      {"Moderate", AlarmClass::Warning},
                                      {"Minor", AlarmClass::Warning}};
    for (const Word& word : kWords)
        if (StartsWithNoCase(word.Text, severity))
            return word.Alarm;
    return AlarmClass::Notification;
}

int AppendAlertRecords(std::string_view document, std::string_view location,
                       const AlertSettingsSnapshot& settings, std::string* queue) {
    int records = 0;
    std::string ansi; // the ticker shows code page 1252
    for (const AlertEntry& entry : ReadAlertEntries(AnsiDocument(document, &ansi))) {
        const size_t start = queue->size();
        if (!entry.Severity.empty())
            AppendHeader(queue, AlarmClassOf(entry.Severity), location, settings);
        if (settings.Flags & kAlertShortMessage)
            AppendFolded(queue, entry.Title);
        if (settings.Flags & kAlertLongMessage)
            AppendFolded(queue, entry.Summary);
        // The label is part of the area text: a line break at the start of
        // the area parts it from the label with one blank more.
        if ((settings.Flags & kAlertWithArea) && !entry.Area.empty())
            AppendFolded(queue, "   EFFECTED AREA... " + std::string(entry.Area));
        if (queue->size() > start) {
            queue->append("\r\n");
            ++records;
        }
    }
    return records;
}

std::string TestTickerQueueText(const AlertSettingsSnapshot& settings) {
    static constexpr AlarmClass kOrder[] = {AlarmClass::Notification, AlarmClass::Warning,
                                            AlarmClass::Severe};
    std::string queue;
    for (int i = 0; i < 3; ++i) {
        AlarmSettings a = AlarmOf(kOrder[i], settings);
        if (settings.Flags & a.EnabledBit) {
            queue.push_back(settings.Flags & a.LoopBit ? '1' : '0');
            queue.push_back(kTickerSeparator);
            if (UsableSound(*a.Sound))
                queue.append(*a.Sound);
            queue.push_back(kTickerSeparator);
        } else {
            queue.append(2, kTickerSeparator);
        }
        const std::string number(1, static_cast<char>('1' + i));
        queue.append("Location " + number).push_back(kTickerSeparator);
        queue.append("TEST MESSAGE " + number + "\r\n");
    }
    return queue;
}

std::string TickerCommandLine(std::string_view queueFile, const AlertSettingsSnapshot& settings) {
    std::string line = "Ticker.exe -f";
    line.append(queueFile);
    line.append(" -tx").append(Hex(settings.TextColour));
    line.append(" -bk").append(Hex(settings.BackColour));
    if (settings.Flags & kAlertTickerToolbar)
        line.append(" -tb");
    if (settings.Tooltips)
        line.append(" -tt");
    return line;
}
