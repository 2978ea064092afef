#include "pages/forecast/point_input.h"

namespace {

// The 30 punctuation characters refused in a coordinate; with the space and
// the 52 ASCII letters they make the 83 forbidden characters.
constexpr std::string_view kForbiddenPunctuation = "~`!@#$%^&*()_+={}[];:'\",<>/?\\|";

bool IsForbidden(char c) {
    if (c == ' ' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return kForbiddenPunctuation.find(c) != std::string_view::npos;
}

} // namespace

bool HasForbiddenCoordinateCharacter(std::string_view text) {
    for (char c : text) {
        if (IsForbidden(c))
            return true;
    }
    return false;
}

const char* CheckPointCoordinates(std::string_view latitude, std::string_view longitude) {
    if (latitude.empty())
        return "latitude field is empty";
    if (HasForbiddenCoordinateCharacter(latitude))
        return "invalid characters in latitude field";
    if (longitude.empty())
        return "longitude field is empty";
    if (HasForbiddenCoordinateCharacter(longitude))
        return "invalid characters in longitude field";
    return nullptr;
}

std::string_view PointNameOrDefault(std::string_view name) {
    return name.empty() ? std::string_view(kUnnamedLocation) : name;
}
