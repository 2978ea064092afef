// The registry store: initial values survive malformed values, font records
// are read whole, positions are restored onto the screen. Values written and
// read back through restarts have end-to-end tests.
#include "app/settings_store.h"
#include "services/shared_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor"); }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor");
        ResetAllSettings();
    }

    static void Put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
};

void ExpectInitialValues() {
    EXPECT_STREQ(GlobalSettings.TimeFormat, "%Dow; %Mon; %dd; %yyyy; - %hh;:%mm; %ampm;");
    EXPECT_EQ(GlobalSettings.SettingsFlags, 3u);
    EXPECT_EQ(GlobalSettings.CurTab, 0);
    EXPECT_EQ(GlobalSettings.CustomColors[0], 0u);
    for (int32_t index : Selected)
        EXPECT_EQ(index, -1);
    const uint32_t flags[] = {PointForecastPage.Flags, HourlyForecastPage.Flags,
                              ObservationsPage.Flags,  RadarPage.Flags,
                              SatellitePage.Flags,     SatelliteWidePage.Flags,
                              AlertsPage.Flags,        AlertMapPage.Flags,
                              MetarPage.Flags,         RiverPage.Flags};
    EXPECT_EQ(
        std::vector<uint32_t>(std::begin(flags), std::end(flags)),
        (std::vector<uint32_t>{0, 0x1FFC, 0x15, 0x105FF, 0x28020, 0x29, 0x237, 1, 0x7FFFD5, 0}));
    EXPECT_STREQ(HourlyForecastTimeFormat, "%Dow; %dd;, %hh; %ampm;");
    EXPECT_STREQ(AlertNotifyAlarm, "sounds\\beepbeep.wav");
    EXPECT_EQ(AlertBackColor, 0x000080u);
}

TEST_F(SettingsStore, ValuesOfTheWrongTypeOrSizeKeepTheirInitialValue) {
    DWORD number = 9;
    WORD shortTab = 4;
    BYTE shortSelected[12] = {}, longColors[80] = {1};
    std::string longFormat(600, 'x');
    Put("SettingsFlags", REG_SZ, "7", 2);
    Put("TimeFormat", REG_DWORD, &number, sizeof number);
    Put("Selected", REG_BINARY, shortSelected, sizeof shortSelected);
    Put("CurTab", REG_BINARY, &shortTab, sizeof shortTab);
    Put("CustomColors", REG_BINARY, longColors, sizeof longColors);
    Put("HourlyPointForecastTimeFormat", REG_SZ, longFormat.c_str(),
        static_cast<DWORD>(longFormat.size() + 1));
    ReadAllSettings();
    ExpectInitialValues();

    // A string stored without its terminator is still read terminated.
    Put("TimeFormat", REG_SZ, "abc", 3);
    ReadAllSettings();
    EXPECT_STREQ(GlobalSettings.TimeFormat, "abc");
}

TEST_F(SettingsStore, FontRecordsAreReadOnlyWholeAndTerminated) {
    LOGFONTA font{};
    BYTE shortFont[20] = {};
    Put("TreeViewFont", REG_BINARY, shortFont, sizeof shortFont);
    EXPECT_FALSE(ReadFontSetting("TreeViewFont", &font));
    LOGFONTA stored;
    std::memset(&stored, 'A', sizeof stored);
    Put("TreeViewFont", REG_BINARY, &stored, sizeof stored);
    ASSERT_TRUE(ReadFontSetting("TreeViewFont", &font));
    EXPECT_EQ(std::strlen(font.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
}

// Positions written and restored have end-to-end tests; one far off the
// screen (another monitor's, say) comes back onto it.
TEST_F(SettingsStore, APositionOffTheScreenIsRestoredOntoIt) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 123, 45, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(RestoreWindowPosition(window, "TestXY"));
    int32_t away[2] = {-30000, 40000};
    WriteBinarySetting("TestXY", away, sizeof away);
    ASSERT_TRUE(RestoreWindowPosition(window, "TestXY"));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_GE(rect.left, 0);
    EXPECT_LT(rect.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(rect.right - rect.left, 200); // the size unchanged
    DestroyWindow(window);
}

} // namespace
