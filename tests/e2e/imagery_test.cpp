// The picture views end to end: the radar page composing cache files this
// test writes (every expected colour is known from the files, not from GDI+),
// Stop during a layer that trickles in, the satellite page stretching a
// smaller JPEG, the wide view, the alert map, and what survives a restart.
// Colours are read from the screen inside the picture area.
#include "tests/e2e/cumulon_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <regex>

namespace {

constexpr int kUpdate = 5007, kStop = 5144, kList = 5013, kStatus = 5009, kArea = 5008;
constexpr int kCities = 5021, kShortRange = 5023, kLongRange = 5024, kBaseReflectivity = 5025,
              kStormRelativeMotion = 5026, kRadarImage = 5031;
constexpr int kVisible = 5039, kHawaii = 5061, kPacific = 5065, kWideView = 5069;
constexpr int kGuam = 5106, kAlertMapButton = 5131;
constexpr int kAlertsTab = 3, kRadarTab = 4, kSatelliteTab = 5;

// ---- picture files with known pixels ------------------------------------------

std::string Bytes32(uint32_t value) { // big-endian, as PNG has it
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

// An RGBA PNG (rgba: 0xRRGGBBAA per pixel), its data in stored deflate blocks.
std::string Png(int width, int height, const std::function<uint32_t(int, int)>& rgba) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x)
            raw += Bytes32(rgba(x, y));
    }
    std::string zlib = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw)
        a = (a + c) % 65521, b = (b + a) % 65521;
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        zlib += char(at + n == raw.size());
        zlib += {char(n), char(n >> 8), char(~n), char(~n >> 8)};
        zlib += raw.substr(at, n);
    }
    zlib += Bytes32((b << 16) | a);
    auto chunk = [](const std::string& kind, const std::string& data) {
        uint32_t crc = 0xFFFFFFFF;
        for (unsigned char c : kind + data) {
            crc ^= c;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
        return Bytes32(uint32_t(data.size())) + kind + data + Bytes32(~crc);
    };
    std::string header = Bytes32(width) + Bytes32(height) + std::string("\x08\x06\0\0\0", 5);
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", zlib) + chunk("IEND", "");
}

// A GIF with a 256-colour table whose index 0 is transparent. The LZW codes
// stay 9 bits wide: a clear code every 254 pixels keeps the table small.
std::string Gif(int width, int height, const std::vector<COLORREF>& colours,
                const std::function<int(int, int)>& index) {
    std::string gif = "GIF89a";
    gif += {char(width), char(width >> 8), char(height), char(height >> 8), '\xF7', 0, 0};
    for (int i = 0; i < 256; ++i) {
        COLORREF c = i < int(colours.size()) ? colours[i] : 0;
        gif += {char(GetRValue(c)), char(GetGValue(c)), char(GetBValue(c))};
    }
    gif += std::string("\x21\xF9\x04\x01\0\0\0\0", 8);
    gif += {'\x2C', 0, 0, 0, 0, char(width), char(width >> 8), char(height), char(height >> 8), 0};
    std::string codes;
    uint32_t bits = 0, count = 0;
    auto emit = [&](uint32_t code) {
        bits |= code << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8)
            codes += char(bits);
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 254 == 0)
            emit(256);
        emit(index(i % width, i / width));
    }
    emit(257);
    if (count)
        codes += char(bits);
    gif += '\x08';
    for (size_t at = 0; at < codes.size(); at += 255)
        gif += char(std::min<size_t>(255, codes.size() - at)) + codes.substr(at, 255);
    return gif + std::string("\0;", 2);
}

struct Colour {
    int r, g, b;
};
const Colour kBlack{0, 0, 0}, kBase{60, 110, 70}, kRed{250, 20, 20}, kYellow{240, 230, 20};
// Half-transparent white (alpha 128) over the base and over yellow.
const Colour kLegendOverBase{158, 183, 163}, kLegendOverYellow{248, 243, 138};
// The sample service's test picture: four quadrants.
const Colour kQuadrants[4] = {{200, 30, 30}, {30, 160, 60}, {40, 60, 200}, {230, 210, 40}};

class Imagery : public CumulonTest {
  protected:
    HWND main_ = nullptr;
    HWND page_ = nullptr;

    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        ASSERT_TRUE(
            SeedListFile("Cumulon 3.0.7.143\r\n\r\n[RADAR]\r\nKLOT\xBBKLOT Chicago, IL\r\n\r\n"));
        CreateDirectoryA(Cache().c_str(), nullptr);
    }

    std::string Cache() const { return UserDataFolder() + "\\cache"; }
    std::string Service() const {
        return "http://127.0.0.1:" + std::to_string(SampleServicePort());
    }
    void UseCatalog(const std::string& text) {
        ASSERT_TRUE(WriteTextFile(folder_ + "\\links.dat", text));
    }
    void WriteCacheFile(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteTextFile(Cache() + "\\" + name, bytes));
    }
    bool CacheFileExists(const std::string& name) const {
        return GetFileAttributesA((Cache() + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Starts Cumulon and shows the page of tab `tab` (with its picture area).
    void StartOnTab(int tab) {
        main_ = Start();
        ASSERT_NE(main_, nullptr);
        ShowTab(tab);
    }
    void ShowTab(int tab) {
        ASSERT_TRUE(ClickTab(GetDlgItem(main_, kTabControl), tab));
        ASSERT_TRUE(
            WaitUntil([&] { return TabSelection(GetDlgItem(main_, kTabControl)) == tab; }, 5000));
        page_ = VisiblePage(main_);
        ASSERT_NE(page_, nullptr);
    }
    void SelectSite() {
        HWND list = GetDlgItem(page_, kList);
        ASSERT_TRUE(WaitUntil([&] { return ListItemCount(list) == 1; }, 5000));
        ASSERT_TRUE(ClickListRow(list, 0));
        ASSERT_TRUE(WaitUntil([&] { return ListItemSelected(list, 0); }, 5000));
    }

    static std::string Status(HWND view) { return WindowText(GetDlgItem(view, kStatus)); }
    static bool ShowsTime(HWND view) { // the default format: "Wednesday Aug 07 2013 - 01:40 pm"
        static const std::regex time(
            R"([A-Z][a-z]+day [A-Z][a-z]{2} \d\d \d{4} - \d\d:\d\d [ap]m)");
        return std::regex_match(Status(view), time);
    }

    // The screen's pixels of a rectangle of the picture (picture pixels; a
    // page smaller than its picture shows it scaled down).
    static std::vector<COLORREF> AreaPixels(HWND view, RECT rect) {
        HWND area = GetDlgItem(view, kArea);
        RECT client{};
        GetClientRect(area, &client);
        const int picture = GetDlgItem(view, kRadarImage) ? 600
                            : GetDlgItem(view, kWideView) ? 720
                            : GetDlgItem(view, kPacific)  ? 1120
                                                          : 800;
        for (LONG* v : {&rect.left, &rect.top, &rect.right, &rect.bottom})
            *v = *v * client.right / picture;
        rect.right = std::max(rect.right, rect.left + 1);
        rect.bottom = std::max(rect.bottom, rect.top + 1);
        MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return ScreenPixels(rect);
    }
    static bool Near(COLORREF c, Colour want, int tolerance) {
        return std::abs(GetRValue(c) - want.r) <= tolerance &&
               std::abs(GetGValue(c) - want.g) <= tolerance &&
               std::abs(GetBValue(c) - want.b) <= tolerance;
    }
    // Waits for the colour at (x, y) of the picture area; reports what is there.
    static void ExpectColour(HWND view, int x, int y, Colour want, int tolerance = 8) {
        COLORREF got = 0;
        bool matched = WaitUntil(
            [&] {
                std::vector<COLORREF> pixel = AreaPixels(view, {x, y, x + 1, y + 1});
                got = pixel.empty() ? CLR_INVALID : pixel[0];
                return Near(got, want, tolerance);
            },
            5000);
        EXPECT_TRUE(matched) << "at (" << x << "," << y << "): " << int(GetRValue(got)) << ","
                             << int(GetGValue(got)) << "," << int(GetBValue(got)) << " instead of "
                             << want.r << "," << want.g << "," << want.b;
    }
    // "Loading..." is white text in the top left corner of the black area.
    static bool ShowsLoading(HWND view) {
        std::vector<COLORREF> pixels = AreaPixels(view, {0, 0, 90, 25});
        return std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
                   return Near(c, {255, 255, 255}, 40);
               }) > 20;
    }
    // The share of the picture that is not black.
    static double Lit(HWND view, int width, int height) {
        std::vector<COLORREF> pixels = AreaPixels(view, {0, 0, width, height});
        return double(
                   std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) { return c != 0; })) /
               std::max<size_t>(1, pixels.size());
    }

    void PressEscape() {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
    static bool Checked(HWND dialog, int id) {
        return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
};

std::string RadarLine(const std::string& key, const std::string& file) {
    return key + "=http://127.0.0.1:1/###/" + key + "\xBBradar_####_" + file + "\r\n";
}

// 120 x 110 layers, drawn scaled five times: an opaque base (PNG under the
// .jpg name: files are decoded by what they hold), a red band across and a
// later yellow band down (GIFs with a transparent index), and a legend strip
// of half-transparent white (PNG alpha).
TEST_F(Imagery, RadarComposesTheCachedLayersInCatalogOrder) {
    UseCatalog("[RADAR]\r\n" + RadarLine("sr.topo", "topo.jpg") + RadarLine("sr.n0r", "n0r.gif") +
               RadarLine("sr.n0s", "n0s.gif") + RadarLine("sr.county", "county.gif") +
               RadarLine("sr.n0rlegend", "legend.gif") + "\r\n");
    WriteCacheFile("radar_KLOT_topo.jpg", Png(120, 110, [](int, int) { return 0x3C6E46FFu; }));
    WriteCacheFile("radar_KLOT_n0r.gif", Gif(120, 110, {0, RGB(250, 20, 20)},
                                             [](int, int y) { return y >= 40 && y < 60; }));
    WriteCacheFile("radar_KLOT_county.gif", Gif(120, 110, {0, RGB(240, 230, 20)},
                                                [](int x, int) { return x >= 50 && x < 70; }));
    WriteCacheFile("radar_KLOT_legend.gif",
                   Png(120, 110, [](int, int y) { return y >= 96 ? 0xFFFFFF80u : 0u; }));
    StartOnTab(kRadarTab);
    SelectSite();
    auto expectComposition = [&] {
        ExpectColour(page_, 100, 100, kBase);
        ExpectColour(page_, 100, 250, kRed);
        ExpectColour(page_, 300, 250, kYellow); // the later band over the earlier one
        ExpectColour(page_, 300, 100, kYellow);
        ExpectColour(page_, 100, 520, kLegendOverBase);
        ExpectColour(page_, 300, 520, kLegendOverYellow);
        EXPECT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 5000)) << Status(page_);
    };
    expectComposition();
    Sleep(300);
    SaveScreenshot(main_, "radar-test-layers");

    // A product whose radar image is not cached: black, and no time.
    ClickControl(page_, kStormRelativeMotion);
    for (POINT at : {POINT{100, 100}, POINT{300, 250}, POINT{100, 520}})
        ExpectColour(page_, at.x, at.y, kBlack, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);

    // Long Range offers base reflectivity only; Short Range brings the choice back.
    ClickControl(page_, kLongRange);
    EXPECT_TRUE(
        WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(page_, kStormRelativeMotion)); }, 5000));
    EXPECT_TRUE(Checked(page_, kBaseReflectivity));
    EXPECT_FALSE(Checked(page_, kStormRelativeMotion));
    ClickControl(page_, kShortRange);
    EXPECT_TRUE(
        WaitUntil([&] { return IsWindowEnabled(GetDlgItem(page_, kStormRelativeMotion)); }, 5000));
    EXPECT_TRUE(Checked(page_, kStormRelativeMotion));
    ClickControl(page_, kBaseReflectivity);
    expectComposition();

    // "Radar" off: the overlays without the radar image, and no time.
    ClickControl(page_, kRadarImage);
    ExpectColour(page_, 100, 250, kBase);
    ExpectColour(page_, 300, 250, kYellow);
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);

    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    ASSERT_TRUE(ReadSettingDword("RadarFlags", &flags));
    EXPECT_EQ(flags, 0x105BFu);
    StartOnTab(kRadarTab);
    EXPECT_FALSE(Checked(page_, kRadarImage));
    EXPECT_TRUE(Checked(page_, kCities));
}

TEST_F(Imagery, StopDuringATricklingLayerEndsLoadingAndLeavesNoPartialFile) {
    UseCatalog("[RADAR]\r\nsr.topo=" + Service() +
               "/test/picture?format=png&s=###\xBBradar_####_topo.jpg\r\n" + "sr.n0r=" + Service() +
               "/test/trickle?seconds=60&s=###\xBBradar_####_n0r.gif\r\n" + "sr.county=" +
               Service() + "/test/plain?bytes=100&s=###\xBBradar_####_county.gif\r\n\r\n");
    StartOnTab(kRadarTab);
    SelectSite();
    ClickControl(page_, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsLoading(page_); }, 10000));
    EXPECT_EQ(Status(page_), "");
    ASSERT_TRUE(WaitUntil([&] { return CacheFileExists("radar_KLOT_n0r.gif.$$$"); }, 10000));
    Sleep(500);
    DWORD stopped = GetTickCount();
    ClickControl(page_, kStop);
    ASSERT_TRUE(WaitUntil([&] { return !ShowsLoading(page_); }, 5000));
    EXPECT_LT(GetTickCount() - stopped, 2000u);
    EXPECT_TRUE(CacheFileExists("radar_KLOT_topo.jpg"));
    EXPECT_FALSE(CacheFileExists("radar_KLOT_n0r.gif"));
    EXPECT_FALSE(CacheFileExists("radar_KLOT_n0r.gif.$$$"));
    EXPECT_FALSE(CacheFileExists("radar_KLOT_county.gif")); // not fetched after Stop
    ExpectColour(page_, 300, 300, kBlack, 0);               // no radar image: black
    EXPECT_EQ(Status(page_), "");
}

TEST_F(Imagery, SatelliteStretchesASmallerJpegAndTheWideViewKeepsItsPlace) {
    UseCatalog("[SATELLITE]\r\nhi.avn=" + Service() +
               "/test/picture?width=360&height=240\xBBsat_test.jpg\r\n\r\n" +
               "[SATELLITEWIDE]\r\ntpac.vis=" + Service() +
               "/test/picture?width=280&height=120\xBBwide_test.jpg\r\n\r\n");
    StartOnTab(kSatelliteTab);
    ClickControl(page_, kHawaii);
    ClickControl(page_, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 15000)) << Status(page_);
    struct Point {
        int x, y, quadrant;
    };
    for (Point p : {Point{180, 120, 0},
                    {540, 120, 1},
                    {180, 360, 2},
                    {540, 360, 3},
                    {10, 10, 0},
                    {712, 472, 3}})
        ExpectColour(page_, p.x, p.y, kQuadrants[p.quadrant], 16);

    ClickControl(page_, kWideView);
    HWND wide = Dialog("Satellite Wide View");
    ASSERT_NE(wide, nullptr);
    ClickControl(wide, kPacific);
    ClickControl(wide, kVisible);
    ClickControl(wide, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(wide); }, 15000)) << Status(wide);
    for (Point p : {Point{280, 120, 0}, {840, 120, 1}, {280, 360, 2}, {1110, 470, 3}})
        ExpectColour(wide, p.x, p.y, kQuadrants[p.quadrant], 16);
    SetWindowPos(wide, nullptr, 12, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Sleep(300);
    PressEscape(); // closes as the close box does
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(wide); }, 5000));

    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD satellite = 0, wideFlags = 0;
    std::vector<BYTE> position;
    ASSERT_TRUE(ReadSettingDword("SatelliteFlags", &satellite));
    ASSERT_TRUE(ReadSettingDword("SatelliteWideFlags", &wideFlags));
    ASSERT_TRUE(ReadSettingBinary("SatelliteWideXY", &position));
    EXPECT_EQ(satellite, 0x28800u);
    EXPECT_EQ(wideFlags, 0x26u);
    ASSERT_EQ(position.size(), 8u);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(&position[0]), 12);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(&position[4]), 90);

    StartOnTab(kSatelliteTab);
    EXPECT_TRUE(Checked(page_, kHawaii));
    ExpectColour(page_, 540, 360, kQuadrants[3], 16); // shown from the cache at once
    ClickControl(page_, kWideView);
    wide = Dialog("Satellite Wide View");
    ASSERT_NE(wide, nullptr);
    RECT rect{};
    GetWindowRect(wide, &rect);
    EXPECT_EQ(rect.left, 12);
    EXPECT_EQ(rect.top, 90);
    EXPECT_TRUE(Checked(wide, kPacific) && Checked(wide, kVisible));
}

TEST_F(Imagery, AlertMapDrawsASmallAreaCentredOnBlack) {
    UseCatalog("[ALERTMAPS]\r\ngu=http://127.0.0.1:1/gu.png\xBB"
               "alertmap_gu.png\r\n\r\n");
    WriteCacheFile("alertmap_gu.png", Png(354, 274, [](int, int) { return 0x5A8CC8FFu; }));
    StartOnTab(kAlertsTab);
    ClickControl(page_, kAlertMapButton);
    HWND map = Dialog("Alert Map");
    ASSERT_NE(map, nullptr);
    ClickControl(map, kGuam);
    const Colour kMap{90, 140, 200};
    for (POINT at : {POINT{400, 250}, POINT{226, 116}, POINT{573, 383}})
        ExpectColour(map, at.x, at.y, kMap);
    for (POINT at :
         {POINT{219, 250}, POINT{400, 109}, POINT{581, 250}, POINT{400, 391}, POINT{5, 495}})
        ExpectColour(map, at.x, at.y, kBlack, 0);
    EXPECT_TRUE(WaitUntil([&] { return ShowsTime(map); }, 5000)) << Status(map);
    SetWindowPos(map, nullptr, 60, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Sleep(300);
    PressEscape();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(map); }, 5000));
    ASSERT_TRUE(CloseMainWindow(main_));
    DWORD flags = 0;
    std::vector<BYTE> position;
    ASSERT_TRUE(ReadSettingDword("AlertMapFlags", &flags));
    ASSERT_TRUE(ReadSettingBinary("AlertMapXY", &position));
    EXPECT_EQ(flags, 0x8u);
    ASSERT_EQ(position.size(), 8u);
    EXPECT_EQ(*reinterpret_cast<const int32_t*>(&position[0]), 60);
}

// Against the sample weather service: the real layers and pictures.
TEST_F(Imagery, TheSampleServicesRadarAndSatellitePictures) {
    UseCatalog(SampleCatalog());
    StartOnTab(kRadarTab);
    SelectSite();
    ClickControl(page_, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 60000)) << Status(page_);
    EXPECT_TRUE(WaitUntil([&] { return Lit(page_, 600, 550) > 0.9; }, 5000)); // the relief fills it
    Sleep(300);
    SaveScreenshot(main_, "radar");

    ShowTab(kSatelliteTab);
    ClickControl(page_, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 60000)) << Status(page_);
    EXPECT_TRUE(WaitUntil([&] { return Lit(page_, 720, 480) > 0.9; }, 5000));
    Sleep(300);
    SaveScreenshot(main_, "satellite");

    ClickControl(page_, kWideView);
    HWND wide = Dialog("Satellite Wide View");
    ASSERT_NE(wide, nullptr);
    ClickControl(wide, kUpdate);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(wide); }, 60000)) << Status(wide);
    EXPECT_TRUE(WaitUntil([&] { return Lit(wide, 1120, 480) > 0.9; }, 5000));
    Sleep(300);
    SaveScreenshot(wide, "satellite-wide");
}

} // namespace

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

double Milliseconds(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
}

// Not a test: the time from the update click to the composited radar picture
// on screen with every overlay on, the cache emptied before each click; and
// the redraw from the cache when a check box is clicked. Twenty times each.
// Run by tools/bench/imagery_bench.sh.
TEST_F(Imagery, DISABLED_BenchmarkRadarUpdateAndRedraw) {
    UseCatalog(SampleCatalog());
    StartOnTab(kRadarTab);
    SelectSite();
    ClickControl(page_, kUpdate); // the service makes the pictures once
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 60000));
    std::vector<double> update, redraw;
    for (int run = 0; run < 20; ++run) {
        Sleep(300);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((Cache() + "\\radar_KLOT_*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            DeleteFileA((Cache() + "\\" + found.cFileName).c_str());
        FindClose(search);
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        ClickControl(page_, kUpdate);
        bool loading = false;
        while (!(loading && ShowsTime(page_) && !ShowsLoading(page_)) &&
               Milliseconds(start) < 60000) {
            loading = loading || Status(page_).empty();
            Sleep(1);
        }
        update.push_back(Milliseconds(start));
    }
    for (int run = 0; run < 20; ++run) {
        Sleep(300);
        std::vector<COLORREF> before = AreaPixels(page_, {0, 0, 600, 550});
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        ClickControl(page_, kCities);
        while (AreaPixels(page_, {0, 0, 600, 550}) == before && Milliseconds(start) < 10000)
            Sleep(1);
        redraw.push_back(Milliseconds(start));
    }
    std::printf("radar update click to composited picture on screen (8 layers, cache emptied): "
                "median %.0f ms, min %.0f, max %.0f (20 runs)\n",
                Median(update), *std::min_element(update.begin(), update.end()),
                *std::max_element(update.begin(), update.end()));
    std::printf("check box click to redrawn picture from the cache: median %.0f ms, min %.0f, max "
                "%.0f (20 runs)\n",
                Median(redraw), *std::min_element(redraw.begin(), redraw.end()),
                *std::max_element(redraw.begin(), redraw.end()));
}

} // namespace
