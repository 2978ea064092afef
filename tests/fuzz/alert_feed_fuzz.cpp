// The alert feed display on arbitrary documents: it must never read past the
// document and must agree with a direct reading of the tag search (each field
// searched in the whole text from the entry's start, then checked against the
// entry's bounds).
#include "pages/alerts/alert_feed.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t npos = std::string_view::npos;

std::string Reference(std::string_view document) {
    std::string_view text = document.substr(0, document.find('\0'));
    std::string out;
    size_t start = text.find("<entry>");
    while (start != npos) {
        size_t end = text.find("</entry>", start + 7);
        if (end == npos)
            break;
        struct Field {
            std::string_view open, close, label;
        } fields[] = {{"<title>", "</title>", ""},
                      {"<summary>", "</summary>", ""},
                      {"<cap:areaDesc>", "</cap:areaDesc>", "...Effected Area: "},
                      {"<cap:urgency>", "</cap:urgency>", "...Urgency: "},
                      {"<cap:severity>", "</cap:severity>", "...Severity: "},
                      {"<cap:certainty>", "</cap:certainty>", "...Certainty: "}};
        for (const Field& field : fields) {
            size_t open = text.find(field.open, start + 7);
            if (open == npos || open >= end)
                continue;
            size_t from = open + field.open.size();
            size_t close = text.find(field.close, from);
            if (close != npos && close + field.close.size() <= end && close > from)
                out.append(field.label).append(text.substr(from, close - from)).append("\r\n");
        }
        out += "\r\n";
        start = text.find("<entry>", end + 8);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    std::string_view document(bytes.data(), bytes.size());
    if (RenderAlertFeed(document) != Reference(document))
        __builtin_trap();
    std::string_view updated = AlertFeedUpdated(document);
    if (!updated.empty() && (updated.data() < bytes.data() ||
                             updated.data() + updated.size() > bytes.data() + bytes.size()))
        __builtin_trap();
    return 0;
}
