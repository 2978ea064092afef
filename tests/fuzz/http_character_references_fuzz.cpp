// The character-reference decoder, in place, on any bytes.
#include "services/http_character_references.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size); // nothing after it may be touched
    DecodeCharacterReferenceText(text.data(), text.size());
    return 0;
}
