// The UTF-8 to code page 1252 conversion on arbitrary bytes: never longer
// than its input, never a byte 1252 leaves undefined, ASCII kept in place.
#include "services/ansi_text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    std::string_view input(bytes.data(), bytes.size());
    std::string ansi = Utf8ToAnsi(input);
    if (ansi.size() > input.size())
        __builtin_trap();
    for (unsigned char c : ansi)
        if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
            __builtin_trap();
    bool ascii = true;
    for (unsigned char c : input)
        ascii = ascii && c < 0x80;
    if (ascii && ansi != input)
        __builtin_trap();
    std::string storage;
    AnsiDocument(input, &storage);
    return 0;
}
