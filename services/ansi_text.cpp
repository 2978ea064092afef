#include "services/ansi_text.h"

#include "services/text_scan.h"

#include <cstdint>

namespace {

// Code page 1252's bytes 0x80 to 0x9F; 0 where it has no character.
constexpr char16_t kHighBytes[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char AnsiOf(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (int i = 0; i < 32; ++i)
        if (kHighBytes[i] != 0 && kHighBytes[i] == code)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The sequence at the start of `rest`: its code point and length; false with
// the length of its broken start (at least 1) when it is not well formed.
bool Decode(std::string_view rest, uint32_t* code, size_t* length) {
    const unsigned char lead = static_cast<unsigned char>(rest[0]);
    size_t need;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead < 0x80) {
        *code = lead;
        *length = 1;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        need = 2;
        *code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        *code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0; // overlong below
        else if (lead == 0xED)
            high = 0x9F; // surrogates above
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        *code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // beyond U+10FFFF above
    } else {
        *length = 1; // a continuation byte, C0, C1 or F5 to FF
        return false;
    }
    for (size_t i = 1; i < need; ++i) {
        const unsigned char c = i < rest.size() ? static_cast<unsigned char>(rest[i]) : 0;
        if (!IsContinuation(c) || (i == 1 && (c < low || c > high))) {
            *length = i;
            return false;
        }
        *code = *code << 6 | (c & 0x3F);
    }
    *length = need;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    uint32_t code;
    for (size_t length; !text.empty(); text.remove_prefix(length))
        if (!Decode(text, &code, &length))
            return false;
    return true;
}

} // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    uint32_t code;
    for (size_t length; !utf8.empty(); utf8.remove_prefix(length))
        out.push_back(Decode(utf8, &code, &length) ? AnsiOf(code) : '?');
    return out;
}

bool IsUtf8Document(std::string_view document) {
    if (document.substr(0, 3) == "\xEF\xBB\xBF")
        return true;
    if (document.substr(0, 5) == "<?xml") {
        std::string_view declaration = document.substr(0, document.find("?>"));
        size_t at = declaration.find("encoding");
        if (at != kNotFound) {
            size_t quote = declaration.find_first_of("\"'", at);
            return quote != kNotFound && StartsWithNoCase(declaration.substr(quote + 1), "utf-8") &&
                   declaration.substr(quote + 6, 1) == declaration.substr(quote, 1);
        }
    }
    return IsValidUtf8(document);
}

std::string_view AnsiDocument(std::string_view document, std::string* storage) {
    if (!IsUtf8Document(document))
        return document;
    *storage = Utf8ToAnsi(document);
    return *storage;
}
