// The registry store: defaults survive missing and malformed values, values
// round-trip, positions are written and restored.
#include "app/app_state.h"
#include "app/settings_store.h"
#include "services/text_buffer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    GlobalSettingsRecord saved_ = GlobalSettings;
    int32_t savedSelected_[kSelectedCount];

    void SetUp() override {
        std::memcpy(savedSelected_, Selected, sizeof Selected);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor");
    }
    void TearDown() override {
        GlobalSettings = saved_;
        std::memcpy(Selected, savedSelected_, sizeof Selected);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor");
    }

    static void Put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
};

TEST_F(SettingsStore, MissingKeyLeavesEveryDefault) {
    GlobalSettingsRecord settings = GlobalSettings;
    ReadGlobalSettings(&settings);
    EXPECT_STREQ(settings.TimeFormat, "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;");
    EXPECT_EQ(settings.SettingsFlags, 3u);
    EXPECT_EQ(settings.CurTab, 0);
    for (int32_t index : Selected)
        EXPECT_EQ(index, -1);
}

TEST_F(SettingsStore, GlobalValuesRoundTrip) {
    GlobalSettingsRecord settings = GlobalSettings;
    CopyText(settings.TimeFormat, "%HH;:%mm;");
    settings.SettingsFlags = 0x5;
    settings.CurTab = 6;
    settings.CustomColors[15] = 0x123456;
    Selected[3] = 2;
    WriteGlobalSettings(settings);

    GlobalSettingsRecord read = saved_;
    Selected[3] = -1;
    ReadGlobalSettings(&read);
    EXPECT_STREQ(read.TimeFormat, "%HH;:%mm;");
    EXPECT_EQ(read.SettingsFlags, 0x5u);
    EXPECT_EQ(read.CurTab, 6);
    EXPECT_EQ(read.CustomColors[15], 0x123456u);
    EXPECT_EQ(Selected[3], 2);
}

TEST_F(SettingsStore, ValuesOfTheWrongTypeOrSizeAreIgnored) {
    Put("SettingsFlags", REG_SZ, "7", 2);
    DWORD number = 9;
    Put("TimeFormat", REG_DWORD, &number, sizeof number);
    BYTE shortSelected[12] = {};
    Put("Selected", REG_BINARY, shortSelected, sizeof shortSelected);
    WORD shortTab = 4;
    Put("CurTab", REG_BINARY, &shortTab, sizeof shortTab);
    BYTE longColors[80] = {1};
    Put("CustomColors", REG_BINARY, longColors, sizeof longColors);

    GlobalSettingsRecord settings = GlobalSettings;
    ReadGlobalSettings(&settings);
    EXPECT_EQ(settings.SettingsFlags, 3u);
    EXPECT_STREQ(settings.TimeFormat, GlobalSettings.TimeFormat);
    EXPECT_EQ(settings.CurTab, 0);
    EXPECT_EQ(settings.CustomColors[0], 0u);
    EXPECT_EQ(Selected[0], -1);
}

TEST_F(SettingsStore, OverlongStringsLeaveTheFieldAsItWas) {
    std::string longFormat(600, 'x');
    Put("TimeFormat", REG_SZ, longFormat.c_str(), static_cast<DWORD>(longFormat.size() + 1));
    GlobalSettingsRecord settings = GlobalSettings;
    ReadGlobalSettings(&settings);
    EXPECT_STREQ(settings.TimeFormat, GlobalSettings.TimeFormat);

    // A string stored without its terminator is still read terminated.
    Put("TimeFormat", REG_SZ, "abc", 3);
    ReadGlobalSettings(&settings);
    EXPECT_STREQ(settings.TimeFormat, "abc");
}

TEST_F(SettingsStore, PageValuesRoundTrip) {
    uint32_t radar = RadarPage.Flags;
    char hourly[257];
    std::memcpy(hourly, HourlyForecastTimeFormat, sizeof hourly);
    RadarPage.Flags = 0x42;
    CopyText(HourlyForecastTimeFormat, "%H;");
    WriteRadarSettings();
    WriteHourlyForecastSettings();
    RadarPage.Flags = 0;
    HourlyForecastTimeFormat[0] = '\0';
    ReadRadarSettings();
    ReadHourlyForecastSettings();
    EXPECT_EQ(RadarPage.Flags, 0x42u);
    EXPECT_STREQ(HourlyForecastTimeFormat, "%H;");
    RadarPage.Flags = radar;
    std::memcpy(HourlyForecastTimeFormat, hourly, sizeof hourly);
}

TEST_F(SettingsStore, WindowPositionsAreWrittenAndRestored) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 123, 45, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(RestoreWindowPosition(window, "TestXY"));
    SaveWindowPosition(window, "TestXY");
    int32_t stored[2] = {};
    ASSERT_TRUE(ReadBinarySetting("TestXY", stored, sizeof stored));
    EXPECT_EQ(stored[0], 123);
    EXPECT_EQ(stored[1], 45);

    SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(RestoreWindowPosition(window, "TestXY"));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 123);
    EXPECT_EQ(rect.top, 45);
    EXPECT_EQ(rect.right - rect.left, 200); // size unchanged
    DestroyWindow(window);
}

} // namespace
