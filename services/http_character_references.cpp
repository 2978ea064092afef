#include "services/http_character_references.h"

#include <cstring>
#include <string_view>

namespace {

// Overwrites every `reference` (six bytes) with five filler bytes and `c`.
void ReplaceReference(char* text, size_t length, std::string_view reference, char c) {
    std::string_view view(text, length);
    for (size_t at = view.find(reference); at != std::string_view::npos;
         at = view.find(reference, at + reference.size())) {
        std::memset(text + at, kReferenceFiller, reference.size() - 1);
        text[at + reference.size() - 1] = c;
    }
}

} // namespace

size_t DecodeCharacterReferenceText(char* text, size_t length) {
    ReplaceReference(text, length, "&#x3C;", '<');
    ReplaceReference(text, length, "&#x3E;", '>');
    ReplaceReference(text, length, "&#x27;", '\'');
    ReplaceReference(text, length, "&#x26;", '&');
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i)
        if (text[i] != kReferenceFiller)
            text[kept++] = text[i];
    return kept;
}
