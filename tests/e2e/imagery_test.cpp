// The picture views: colours are read from the screen inside the picture area.
#include "tests/e2e/cumulon_fixture.h"

#include <algorithm>

namespace {

const COLORREF kBlack = RGB(0, 0, 0), kBase = RGB(60, 110, 70), kRed = RGB(250, 20, 20),
               kYellow = RGB(240, 230, 20);
// Half-transparent white (alpha 128) over the base and over yellow.
const COLORREF kLegendOverBase = RGB(158, 183, 163), kLegendOverYellow = RGB(248, 243, 138);
// The sample service's test picture: four quadrants.
const COLORREF kQuadrants[4] = {RGB(200, 30, 30), RGB(30, 160, 60), RGB(40, 60, 200),
                                RGB(230, 210, 40)};
const COLORREF kMap = RGB(90, 140, 200); // the square and alert-map pictures
struct Spot {
    int x, y;
    COLORREF colour;
};

class Imagery : public CumulonTest {
  protected:
    void SetUp() override {
        CumulonTest::SetUp();
        ASSERT_NE(SampleServicePort(), 0) << "the sample weather service is not running";
        ASSERT_TRUE(SeedListFile(ListFile("RADAR", {"KLOT»KLOT Chicago, IL"})));
        CreateDirectoryA((UserDataFolder() + "\\cache").c_str(), nullptr);
    }
    // A picture of test_pictures.py, built beside this program, as a cache file.
    void CachePicture(const char* name, const std::string& cacheName) {
        ASSERT_TRUE(CopyFileA((WindowsPath(TEST_PICTURES "/") + name).c_str(),
                              CachePath(cacheName).c_str(), FALSE));
    }
    static std::string Status(HWND view) { return TextOf(view, IDC_STATUS); }
    static bool ShowsTime(HWND view) { return IsFileTime(Status(view)); }

    // The screen's pixels of a rectangle of the picture (picture pixels; a
    // page smaller than its picture shows it scaled down).
    static std::vector<COLORREF> AreaPixels(HWND view, RECT rect) {
        HWND area = GetDlgItem(view, IDC_OUTPUT);
        RECT client{};
        GetClientRect(area, &client);
        const int picture = GetDlgItem(view, IDC_RADAR_IMAGE)    ? 600
                            : GetDlgItem(view, IDC_WIDE_VIEW)    ? 720
                            : GetDlgItem(view, IDC_WIDE_PACIFIC) ? 1120
                                                                 : 800;
        for (LONG* v : {&rect.left, &rect.top, &rect.right, &rect.bottom})
            *v = *v * client.right / picture;
        rect.right = std::max(rect.right, rect.left + 1);
        rect.bottom = std::max(rect.bottom, rect.top + 1);
        MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return ScreenPixels(rect);
    }
    static bool Near(COLORREF c, COLORREF want, int tolerance) {
        return std::abs(GetRValue(c) - GetRValue(want)) <= tolerance &&
               std::abs(GetGValue(c) - GetGValue(want)) <= tolerance &&
               std::abs(GetBValue(c) - GetBValue(want)) <= tolerance;
    }
    // Waits for the colour at (x, y) of the picture area; reports what is there.
    static void ExpectColour(HWND view, int x, int y, COLORREF want, int tolerance = 8) {
        COLORREF got = 0;
        bool matched = WaitUntil(
            [&] {
                std::vector<COLORREF> pixel = AreaPixels(view, {x, y, x + 1, y + 1});
                got = pixel.empty() ? CLR_INVALID : pixel[0];
                return Near(got, want, tolerance);
            },
            5000);
        EXPECT_TRUE(matched) << "at (" << x << "," << y << "): 0x" << std::hex << got
                             << " instead of 0x" << want << " (0xBBGGRR)";
    }
    static void ExpectColours(HWND view, std::initializer_list<Spot> spots, int tolerance = 8) {
        for (Spot s : spots)
            ExpectColour(view, s.x, s.y, s.colour, tolerance);
    }
    // "Loading..." is white text in the top left corner of the black area.
    static bool ShowsLoading(HWND view) {
        std::vector<COLORREF> pixels = AreaPixels(view, {0, 0, 90, 25});
        return std::count_if(pixels.begin(), pixels.end(),
                             [](COLORREF c) { return Near(c, RGB(255, 255, 255), 40); }) > 20;
    }
    // Moves a dialog, closes it with Escape (as the close box does) and
    // reads the position stored for it at the program's end.
    void MoveCloseAndEnd(HWND dialog, int x, int y, const char* positionName) {
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Sleep(300);
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(Gone(dialog));
        ASSERT_TRUE(CloseMainWindow());
        std::vector<BYTE> position;
        ASSERT_TRUE(ReadSetting(positionName, &position) && position.size() == 8u);
        const int32_t* stored = reinterpret_cast<const int32_t*>(position.data());
        EXPECT_TRUE(stored[0] == x && stored[1] == y) << stored[0] << "," << stored[1];
    }
};

std::string RadarLine(const std::string& key, const std::string& file) {
    return key + "=http://127.0.0.1:1/###/" + key + "\xBBradar_####_" + file + "\r\n";
}

// The 120 x 110 layers of test_pictures.py, drawn scaled five times.
TEST_F(Imagery, RadarComposesTheCachedLayersInCatalogOrder) {
    UseCatalog("[RADAR]\r\n" + RadarLine("sr.topo", "topo.jpg") + RadarLine("sr.n0r", "n0r.gif") +
               RadarLine("sr.n0s", "n0s.gif") + RadarLine("sr.county", "county.gif") +
               RadarLine("sr.n0rlegend", "legend.gif") + "\r\n");
    for (const char* name : {"topo.jpg", "n0r.gif", "county.gif", "legend.gif"})
        CachePicture(name, std::string("radar_KLOT_") + name);
    StartOnTab(kRadarTab, 1);
    Select(0);
    // Later layers over earlier ones.
    ExpectColours(page_, {{100, 100, kBase},
                          {100, 250, kRed},
                          {300, 250, kYellow},
                          {300, 100, kYellow},
                          {100, 520, kLegendOverBase},
                          {300, 520, kLegendOverYellow}});
    EXPECT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 5000)) << Status(page_);
    Snapshot(main_, "radar-test-layers");

    // A product whose radar image is not cached: black, and no time.
    ClickControl(page_, IDC_RADAR_STORM_RELATIVE_MOTION);
    ExpectColours(page_, {{100, 100, kBlack}, {300, 250, kBlack}, {100, 520, kBlack}}, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);

    // Long Range offers base reflectivity only; Short Range brings the choice back.
    HWND motion = GetDlgItem(page_, IDC_RADAR_STORM_RELATIVE_MOTION);
    ClickControl(page_, IDC_RADAR_LONG_RANGE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(motion); }, 5000));
    EXPECT_TRUE(Checked(IDC_RADAR_BASE_REFLECTIVITY) && !Checked(IDC_RADAR_STORM_RELATIVE_MOTION));
    ClickControl(page_, IDC_RADAR_SHORT_RANGE);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(motion); }, 5000));
    EXPECT_TRUE(Checked(IDC_RADAR_STORM_RELATIVE_MOTION));

    // Base reflectivity with "Radar" off: the overlays without the radar image, and no time.
    ClickControl(page_, IDC_RADAR_BASE_REFLECTIVITY);
    ClickControl(page_, IDC_RADAR_IMAGE);
    ExpectColours(page_, {{100, 250, kBase}, {300, 250, kYellow}});
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);

    ASSERT_TRUE(CloseMainWindow());
    EXPECT_EQ(Setting("RadarFlags"), 0x105BFu);
    StartOnTab(kRadarTab);
    EXPECT_FALSE(Checked(IDC_RADAR_IMAGE));
    EXPECT_TRUE(Checked(IDC_RADAR_CITIES));
}

// Today's radar: one picture per product, map and legend drawn in, and a
// catalog with no overlay or legend keys while every check box is on. The
// window grows so the 600 x 550 picture is shown pixel for pixel.
TEST_F(Imagery, RadarShowsItsProductPictureAtItsOwnSizePixelForPixel) {
    ASSERT_TRUE(SeedListFile(ListFile("RADAR", {"KLOT»KLOT Chicago, IL", "KMKX»KMKX Milwaukee"})));
    UseCatalog("[RADAR]\r\n" + RadarLine("sr.n0r", "n0r.gif") + RadarLine("sr.n0v", "n0v.gif") +
               RadarLine("lr.n0z", "n0z.gif") + "\r\n");
    CachePicture("radar_own_size.gif", "radar_KLOT_n0r.gif");
    StartOnTab(kRadarTab, 2);
    Select(0);
    RECT client{}, window{}, work{};
    GetClientRect(GetDlgItem(page_, IDC_OUTPUT), &client);
    EXPECT_TRUE(client.right == 600 && client.bottom == 550)
        << client.right << " x " << client.bottom;
    GetWindowRect(main_, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(window.left >= work.left && window.top >= work.top && window.right <= work.right &&
                window.bottom <= work.bottom);
    // The quadrants meet at (300, 275) to the pixel; the one-pixel
    // checkerboard keeps every pixel.
    const auto shownAsIs = [&] {
        for (Spot p : {Spot{0, 0, kQuadrants[0]},
                       {299, 274, kQuadrants[0]},
                       {300, 274, kQuadrants[1]},
                       {299, 275, kQuadrants[2]},
                       {300, 275, kQuadrants[3]},
                       {599, 549, kQuadrants[3]}})
            if (AreaPixels(page_, {p.x, p.y, p.x + 1, p.y + 1}) != std::vector{p.colour})
                return false;
        std::vector<COLORREF> row = AreaPixels(page_, {100, 105, 200, 106});
        for (size_t x = 0; x < row.size(); ++x)
            if (row[x] != (x % 2 ? RGB(0, 0, 0) : RGB(255, 255, 255)))
                return false;
        return row.size() == 100;
    };
    EXPECT_TRUE(WaitUntil(shownAsIs, 5000));
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 5000)) << Status(page_);
    Snapshot(main_, "radar-own-size");

    // Shift+click selects a second row too: the picture and its time stay.
    const std::string time = Status(page_);
    ASSERT_TRUE(ClickListRow(List(), 1, 8, 1, VK_SHIFT));
    ASSERT_TRUE(WaitUntil(
        [&] { return ListItemSelected(List(), 0) && ListItemSelected(List(), 1); }, 5000));
    Sleep(500);
    EXPECT_TRUE(shownAsIs());
    EXPECT_EQ(Status(page_), time);
    // Another product, whose picture is not cached: black, no time.
    ClickControl(page_, IDC_RADAR_BASE_VELOCITY);
    ExpectColour(page_, 300, 275, kBlack, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);
}

TEST_F(Imagery, StopDuringATricklingLayerEndsLoadingAndLeavesNoPartialFile) {
    UseCatalog("[RADAR]\r\nsr.topo=" + Service() +
               "/test/picture?format=png&s=###\xBBradar_####_topo.jpg\r\nsr.n0r=" + Service() +
               "/test/trickle?seconds=60&s=###\xBBradar_####_n0r.gif\r\nsr.county=" + Service() +
               "/test/plain?bytes=100&s=###\xBBradar_####_county.gif\r\n\r\n");
    StartOnTab(kRadarTab, 1);
    Update(0);
    ASSERT_TRUE(WaitUntil([&] { return ShowsLoading(page_); }, 10000));
    EXPECT_EQ(Status(page_), "");
    // The fetch's own temporary file: "<cache file>.<fetch>.$$$".
    auto temporary = [&] {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(CachePath("radar_KLOT_n0r.gif.*.$$$").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return search != INVALID_HANDLE_VALUE;
    };
    ASSERT_TRUE(WaitUntil(temporary, 10000));
    Sleep(500);
    const DWORD stopped = GetTickCount();
    ClickControl(page_, IDC_STOP);
    ASSERT_TRUE(WaitUntil([&] { return !ShowsLoading(page_); }, 5000));
    EXPECT_LT(GetTickCount() - stopped, 2000u);
    EXPECT_TRUE(FileExists(CachePath("radar_KLOT_topo.jpg")));
    for (const char* gone :
         {"radar_KLOT_n0r.gif", "radar_KLOT_county.gif"}) // not fetched after Stop
        EXPECT_FALSE(FileExists(CachePath(gone))) << gone;
    EXPECT_FALSE(temporary());
    ExpectColour(page_, 300, 300, kBlack, 0); // no radar image: black
    EXPECT_EQ(Status(page_), "");
}

// The satellite page stretches a smaller JPEG to the edges; the wide view
// and the alert map (a small area centred on black) open, draw and reopen
// where they were moved.
TEST_F(Imagery, SatelliteStretchesASmallerJpegAndTheWideViewAndAlertMapKeepTheirPlaces) {
    const std::string picture = Service() + "/test/picture?";
    UseCatalog("[SATELLITE]\r\nhi.avn=" + picture + "width=360&height=240\xBBsat_test.jpg\r\n\r\n" +
               "[SATELLITEWIDE]\r\ntpac.vis=" + picture +
               "width=280&height=120\xBBwide_test.jpg\r\n\r\n" +
               "[ALERTMAPS]\r\ngu=http://127.0.0.1:1/gu.png\xBB" + "alertmap_gu.png\r\n\r\n");
    CachePicture("alertmap_gu.png", "alertmap_gu.png");
    StartOnTab(kSatelliteTab);
    ClickControl(page_, IDC_HAWAII);
    ClickControl(page_, IDC_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 15000)) << Status(page_);
    const COLORREF first = kQuadrants[0], last = kQuadrants[3];
    ExpectColours(page_, {{180, 120, first}, {540, 360, last}, {10, 10, first}, {712, 472, last}},
                  16);

    ClickControl(page_, IDC_WIDE_VIEW);
    HWND wide = Dialog("Satellite Wide View");
    ASSERT_NE(wide, nullptr);
    ClickControl(wide, IDC_WIDE_PACIFIC);
    ClickControl(wide, IDC_SAT_VISIBLE);
    ClickControl(wide, IDC_UPDATE);
    ASSERT_TRUE(WaitUntil([&] { return ShowsTime(wide); }, 15000)) << Status(wide);
    ExpectColours(wide, {{280, 120, first}, {1110, 470, last}}, 16);
    MoveCloseAndEnd(wide, 12, 90, "SatelliteWideXY");
    EXPECT_EQ(Setting("SatelliteFlags"), 0x28800u);
    EXPECT_EQ(Setting("SatelliteWideFlags"), 0x26u);

    StartOnTab(kSatelliteTab);
    EXPECT_TRUE(Checked(IDC_HAWAII));
    ExpectColour(page_, 540, 360, last, 16); // shown from the cache at once
    ClickControl(page_, IDC_WIDE_VIEW);
    ASSERT_NE(wide = Dialog("Satellite Wide View"), nullptr);
    RECT rect{};
    GetWindowRect(wide, &rect);
    EXPECT_TRUE(rect.left == 12 && rect.top == 90) << rect.left << "," << rect.top;
    EXPECT_TRUE(Checked(wide, IDC_WIDE_PACIFIC) && Checked(wide, IDC_SAT_VISIBLE));
    CloseDialog(wide);

    ShowTab(kAlertsTab);
    ClickControl(page_, IDC_ALERT_MAP_BUTTON);
    HWND map = Dialog("Alert Map");
    ASSERT_NE(map, nullptr);
    ClickControl(map, IDC_MAP_GUAM);
    ExpectColours(map, {{226, 116, kMap}, {573, 383, kMap}});
    ExpectColours(map, {{219, 250, kBlack}, {400, 391, kBlack}}, 0);
    EXPECT_TRUE(WaitUntil([&] { return ShowsTime(map); }, 5000)) << Status(map);
    MoveCloseAndEnd(map, 60, 40, "AlertMapXY");
    EXPECT_EQ(Setting("AlertMapFlags"), 0x8u);
}

// A square sector keeps its proportions on black; a picture that declares
// 16000 x 16000 pixels is refused and shown as a missing one.
TEST_F(Imagery, SatelliteKeepsASquarePictureSquareAndRefusesAHugeOne) {
    UseCatalog("[SATELLITE]\r\nhi.avn=http://127.0.0.1:1/hi.png\xBBsat_hi_avn.png\r\n"
               "ceus.avn=http://127.0.0.1:1/ceus.png\xBBsat_ceus_avn.png\r\n\r\n");
    CachePicture("square.png", "sat_hi_avn.png");
    CachePicture("huge.png", "sat_ceus_avn.png");
    StartOnTab(kSatelliteTab);
    // Central United States is the default: the huge picture.
    Sleep(1000);
    ExpectColour(page_, 360, 240, kBlack, 0);
    EXPECT_EQ(Status(page_), "");
    ClickControl(page_, IDC_HAWAII);
    ExpectColours(page_, {{120, 0, kMap}, {360, 240, kMap}, {599, 479, kMap}});
    ExpectColours(page_, {{119, 240, kBlack}, {600, 240, kBlack}, {10, 10, kBlack}}, 0);
    EXPECT_TRUE(WaitUntil([&] { return ShowsTime(page_); }, 5000)) << Status(page_);
    ClickControl(page_, IDC_SAT_CENTRAL_US);
    ExpectColour(page_, 360, 240, kBlack, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status(page_).empty(); }, 5000)) << Status(page_);
}

} // namespace
