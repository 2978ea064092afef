#include "pages/forecast/point_input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Byte(int value) {
    return std::string(1, static_cast<char>(value));
}

// --- The forbidden coordinate characters ------------------------------------

TEST(CoordinateCharacters, ExactlyEightyThreeAreForbidden) {
    int forbidden = 0;
    for (int value = 0; value < 256; ++value) {
        if (HasForbiddenCoordinateCharacter(Byte(value)))
            ++forbidden;
    }
    EXPECT_EQ(forbidden, 83);
}

TEST(CoordinateCharacters, OnlyDigitsPointAndMinusPassAmongPrintableAscii) {
    for (int value = 0x20; value < 0x7F; ++value) {
        char c = static_cast<char>(value);
        bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '-';
        EXPECT_EQ(HasForbiddenCoordinateCharacter(Byte(value)), !allowed) << "character " << c;
    }
}

TEST(CoordinateCharacters, ControlAndHighBytesPass) {
    for (int value = 0; value < 0x20; ++value)
        EXPECT_FALSE(HasForbiddenCoordinateCharacter(Byte(value))) << value;
    for (int value = 0x7F; value < 0x100; ++value)
        EXPECT_FALSE(HasForbiddenCoordinateCharacter(Byte(value))) << value;
    EXPECT_FALSE(HasForbiddenCoordinateCharacter("40.5\t"));
    EXPECT_FALSE(HasForbiddenCoordinateCharacter("40\xB0"));
}

TEST(CoordinateCharacters, OneForbiddenCharacterAnywhereIsEnough) {
    EXPECT_TRUE(HasForbiddenCoordinateCharacter("x40.5"));
    EXPECT_TRUE(HasForbiddenCoordinateCharacter("40.5 "));
    EXPECT_TRUE(HasForbiddenCoordinateCharacter("40|5"));
    EXPECT_TRUE(HasForbiddenCoordinateCharacter("40\\5"));
    EXPECT_TRUE(HasForbiddenCoordinateCharacter("40.5\""));
    // Nothing after a NUL is hidden from the check.
    EXPECT_TRUE(HasForbiddenCoordinateCharacter(std::string("40") + '\0' + "N"));
    EXPECT_FALSE(HasForbiddenCoordinateCharacter(""));
    EXPECT_FALSE(HasForbiddenCoordinateCharacter("-0123456789.-.."));
}

// --- The validation order -----------------------------------------------------

TEST(PointValidation, PlainDecimalDegreesAreAccepted) {
    EXPECT_EQ(CheckPointCoordinates("40.5", "-74.2"), nullptr);
    EXPECT_EQ(CheckPointCoordinates("38.2.5", "--1"),
              nullptr); // the check is about characters only
}

TEST(PointValidation, RefusedLatitudes) {
    EXPECT_STREQ(CheckPointCoordinates("+40.5", "-74.2"), "invalid characters in latitude field");
    EXPECT_STREQ(CheckPointCoordinates("40,5", "-74.2"), "invalid characters in latitude field");
    EXPECT_STREQ(CheckPointCoordinates("N40", "-74.2"), "invalid characters in latitude field");
    EXPECT_STREQ(CheckPointCoordinates(" 40", "-74.2"), "invalid characters in latitude field");
}

TEST(PointValidation, RefusedLongitudes) {
    EXPECT_STREQ(CheckPointCoordinates("40.5", "+74.2"), "invalid characters in longitude field");
    EXPECT_STREQ(CheckPointCoordinates("40.5", "74.2W"), "invalid characters in longitude field");
}

TEST(PointValidation, TheFirstFailingCheckWins) {
    EXPECT_STREQ(CheckPointCoordinates("", ""), "latitude field is empty");
    EXPECT_STREQ(CheckPointCoordinates("", "bad"), "latitude field is empty");
    EXPECT_STREQ(CheckPointCoordinates("bad", ""), "invalid characters in latitude field");
    EXPECT_STREQ(CheckPointCoordinates("bad", "bad"), "invalid characters in latitude field");
    EXPECT_STREQ(CheckPointCoordinates("40", ""), "longitude field is empty");
    EXPECT_STREQ(CheckPointCoordinates("40", "bad"), "invalid characters in longitude field");
}

// --- The stored name ------------------------------------------------------------

TEST(PointName, EmptyNameBecomesUnnamedLocation) {
    EXPECT_EQ(PointNameOrDefault(""), "Unnamed Location");
    EXPECT_EQ(PointNameOrDefault(std::string_view()), "Unnamed Location");
}

TEST(PointName, AnyOtherNameIsKeptAsTyped) {
    EXPECT_EQ(PointNameOrDefault(" "), " ");
    EXPECT_EQ(PointNameOrDefault("Home, +40.5"), "Home, +40.5");
    std::string name = "Cabin";
    EXPECT_EQ(PointNameOrDefault(name).data(), name.data());
}

} // namespace
