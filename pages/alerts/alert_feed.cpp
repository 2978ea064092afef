#include "pages/alerts/alert_feed.h"

#include "services/ansi_text.h"
#include "services/text_scan.h"

namespace {

constexpr std::string_view kEntryOpen = "<entry>";
constexpr std::string_view kEntryClose = "</entry>";

AlertEntry ReadEntry(std::string_view entry) {
    return {ElementText(entry, "<title>", "</title>"),
            ElementText(entry, "<summary>", "</summary>"),
            ElementText(entry, "<cap:areaDesc>", "</cap:areaDesc>"),
            ElementText(entry, "<cap:urgency>", "</cap:urgency>"),
            ElementText(entry, "<cap:severity>", "</cap:severity>"),
            ElementText(entry, "<cap:certainty>", "</cap:certainty>")};
}

// A value's bare line feeds (the API's summaries break their lines so)
// become CR LF, the line break of an edit control.
void AppendLine(std::string* out, std::string_view label, std::string_view value) {
    if (value.empty())
        return;
    out->append(label);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\n' && (i == 0 || value[i - 1] != '\r'))
            out->push_back('\r');
        out->push_back(value[i]);
    }
    out->append("\r\n");
}

} // namespace

std::vector<AlertEntry> ReadAlertEntries(std::string_view document) {
    std::vector<AlertEntry> entries;
    std::string_view text = UpToFirstNul(document);
    size_t at = text.find(kEntryOpen);
    while (at != kNotFound) {
        size_t start = at + kEntryOpen.size();
        size_t end = text.find(kEntryClose, start);
        if (end == kNotFound)
            break; // an unterminated entry ends the scan
        entries.push_back(ReadEntry(text.substr(start, end - start)));
        at = text.find(kEntryOpen, end + kEntryClose.size());
    }
    return entries;
}

std::string_view AlertFeedUpdated(std::string_view document) {
    return ElementText(UpToFirstNul(document), "<updated>", "</updated>");
}

bool IsFeedWithoutEntries(std::string_view document) {
    std::string_view text = UpToFirstNul(document);
    size_t feed = text.find("<feed");
    return feed != kNotFound && feed + 5 < text.size() &&
           (text[feed + 5] == '>' || static_cast<unsigned char>(text[feed + 5]) <= ' ') &&
           text.find(kEntryOpen) == kNotFound;
}

std::string RenderAlertFeed(std::string_view document) {
    if (IsFeedWithoutEntries(document))
        return std::string(kNoAlerts) + "\r\n";
    std::string ansi, out;
    for (const AlertEntry& entry : ReadAlertEntries(AnsiDocument(document, &ansi))) {
        AppendLine(&out, "", entry.Title);
        AppendLine(&out, "", entry.Summary);
        AppendLine(&out, "...Effected Area: ", entry.Area);
        AppendLine(&out, "...Urgency: ", entry.Urgency);
        AppendLine(&out, "...Severity: ", entry.Severity);
        AppendLine(&out, "...Certainty: ", entry.Certainty);
        out += "\r\n";
    }
    return out;
}
