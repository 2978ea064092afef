// The character-reference decoder on any bytes gives the same result as
// decoding pass by pass with plain string replacement (which only ever
// shortens the text and leaves no filler byte).
#include "services/http_character_references.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string Reference(std::string text) {
    const char* const references[4] = {"&#x3C;", "&#x3E;", "&#x27;", "&#x26;"};
    const char decoded[4] = {'<', '>', '\'', '&'};
    for (int r = 0; r < 4; ++r) {
        std::string out;
        size_t from = 0;
        for (size_t at = text.find(references[r]); at != std::string::npos;
             at = text.find(references[r], from)) {
            out.append(text, from, at - from);
            out += std::string(5, kReferenceFiller);
            out += decoded[r];
            from = at + 6;
        }
        out.append(text, from, std::string::npos);
        text = out;
    }
    std::string kept;
    for (char c : text)
        if (c != kReferenceFiller)
            kept += c;
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string expected = Reference(text);
    size_t length = DecodeCharacterReferenceText(text.data(), text.size());
    if (length != expected.size() || text.compare(0, length, expected) != 0)
        __builtin_trap();
    return 0;
}
