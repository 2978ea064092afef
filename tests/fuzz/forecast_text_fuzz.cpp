// The point forecast text on arbitrary documents.
#include "pages/forecast/forecast_text.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> bytes(data, data + size); // nothing after it may be read
    RenderPointForecast(std::string_view(bytes.data(), bytes.size()));
    return 0;
}
