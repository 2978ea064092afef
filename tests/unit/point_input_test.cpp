#include "pages/forecast/point_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(CoordinateCharacters, ThePrintableAsciiOtherThanDigitsPointAndMinusAreForbidden) {
    int forbidden = 0;
    for (int value = 0; value < 256; ++value) {
        char c = static_cast<char>(value);
        bool printable = value >= 0x20 && value < 0x7F;
        bool allowed = !printable || (c >= '0' && c <= '9') || c == '.' || c == '-';
        forbidden += !allowed;
        EXPECT_EQ(HasForbiddenCoordinateCharacter(std::string(1, c)), !allowed) << value;
    }
    EXPECT_EQ(forbidden, 83);
    // One anywhere is enough, even after a NUL.
    for (std::string text : {"x40.5"s, "40.5 "s, "40|5"s, "40\0N"s})
        EXPECT_TRUE(HasForbiddenCoordinateCharacter(text)) << text;
    for (std::string text : {""s, "-0123456789.-.."s, "40.5\t"s, "40\xB0"s})
        EXPECT_FALSE(HasForbiddenCoordinateCharacter(text)) << text;
}

TEST(PointValidation, TheFirstFailingCheckInItsOrder) {
    const struct {
        const char *latitude, *longitude, *message;
    } cases[] = {
        {"40.5", "-74.2", nullptr},
        {"38.2.5", "--1", nullptr}, // the check is about characters only
        {"+40.5", "-74.2", "invalid characters in latitude field"},
        {"40,5", "-74.2", "invalid characters in latitude field"},
        {"N40", "-74.2", "invalid characters in latitude field"},
        {" 40", "-74.2", "invalid characters in latitude field"},
        {"40.5", "+74.2", "invalid characters in longitude field"},
        {"40.5", "74.2W", "invalid characters in longitude field"},
        {"", "", "latitude field is empty"},
        {"", "bad", "latitude field is empty"},
        {"bad", "", "invalid characters in latitude field"},
        {"40", "", "longitude field is empty"},
    };
    for (const auto& c : cases) {
        const char* message = CheckPointCoordinates(c.latitude, c.longitude);
        EXPECT_EQ(std::string(message ? message : "(accepted)"),
                  c.message ? c.message : "(accepted)")
            << c.latitude << " " << c.longitude;
    }
}

TEST(PointName, AnEmptyNameBecomesUnnamedLocationAnyOtherIsKeptAsTyped) {
    EXPECT_EQ(PointNameOrDefault(""), "Unnamed Location");
    EXPECT_EQ(PointNameOrDefault(" "), " ");
    EXPECT_EQ(PointNameOrDefault("Home, +40.5"), "Home, +40.5");
}

} // namespace
