// The point forecast text on arbitrary documents: it must never read past the
// document and must agree with a direct reading of the tag search (each part
// searched in the whole document, then checked against the period's bounds).
#include "pages/forecast/forecast_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t npos = std::string_view::npos;

std::string_view Attribute(std::string_view text, std::string_view name) {
    size_t at = text.find(name);
    if (at == npos || at + name.size() + 1 > text.size())
        return {};
    size_t start = at + name.size() + 1;
    size_t end = text.find('"', start);
    return end == npos ? std::string_view() : text.substr(start, end - start);
}

// The page's walk as it reads, with unbounded searches from the period start.
std::string Reference(std::string_view document) {
    std::string_view text = document.substr(0, document.find('\0'));
    std::string out;
    std::string_view v = Attribute(text, "<Forecast location=");
    if (!v.empty())
        out.append(v).append("\r\n");
    v = Attribute(text, "elevation=");
    if (!v.empty())
        out.append("Elevation: ").append(v).append("\r\n");
    size_t open = text.find("<creationTime>");
    if (open != npos) {
        size_t close = text.find("</creationTime>", open);
        if (close != npos && close > open + 14)
            out.append(text.substr(open + 14, close - open - 14)).append("\r\n");
    }
    if (!out.empty())
        out.append("\r\n");
    size_t start = text.find("<period>");
    size_t end = start == npos ? npos : text.find("</period>", start);
    while (start != npos && end != npos) {
        struct Part {
            std::string_view open, close, after;
        } parts[] = {{"<valid>", "</valid>", ": "}, {"<text>", "</text>", "\r\n\r\n"}};
        for (const Part& part : parts) {
            size_t a = text.find(part.open, start);
            if (a == npos || a <= start || a >= end)
                continue;
            size_t b = text.find(part.close, start);
            size_t from = a + part.open.size();
            if (b != npos && b < end && b >= from + 1)
                out.append(text.substr(from, b - from)).append(part.after);
        }
        start = text.find("<period>", end);
        end = start == npos ? npos : text.find("</period>", start);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size: nothing after it may be read.
    std::vector<char> bytes(data, data + size);
    std::string_view document(bytes.data(), bytes.size());
    if (RenderPointForecast(document) != Reference(document))
        __builtin_trap();
    return 0;
}
