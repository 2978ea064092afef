// The input checks of the Add Point and Edit Point dialogs. A latitude or a
// longitude may hold digits, "." and "-" and anything outside the printable
// ASCII range; the 83 printable characters that are neither (the space, the
// letters and 30 punctuation characters, "+" among them) are refused.
#ifndef CUMULON_POINT_INPUT_H
#define CUMULON_POINT_INPUT_H

#include <string_view>

constexpr char kUnnamedLocation[] = "Unnamed Location";

// True when `text` holds one of the 83 forbidden coordinate characters.
bool HasForbiddenCoordinateCharacter(std::string_view text);
// The first failing check of the Add Point / Edit Point validation, in its order
// ("latitude field is empty", "invalid characters in latitude field",
//  "longitude field is empty", "invalid characters in longitude field"), or nullptr.
const char* CheckPointCoordinates(std::string_view latitude, std::string_view longitude);
// The name to store: `name`, or "Unnamed Location" when it is empty.
std::string_view PointNameOrDefault(std::string_view name);

#endif
