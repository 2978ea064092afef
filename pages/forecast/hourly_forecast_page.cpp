#include "pages/forecast/hourly_forecast_page.h"

#include "pages/forecast/hourly_table.h"
#include "pages/forecast/hourly_time_format_dialog.h"
#include "pages/forecast/point_dialogs.h"
#include "pages/forecast/point_feed.h"
#include "resources/resource_ids.h"
#include "services/file_io.h"
#include "services/list_view.h"
#include "services/registry.h"
#include "services/text_buffer.h"

#include <commctrl.h>

namespace {

constexpr char kSection[] = "[HOURLYPOINTFORECAST]";
constexpr char kDataFontValue[] = "HourlyPointForecastDataFont";
constexpr DWORD kTableStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

const PageColumn kColumns[] = {{"Location", 556}, {"Latitude", 120}, {"Longitude", 120}};
const FlagControl kColumnBoxes[] = {
    {IDC_HOURLY_WEATHER, kHourlyWeather, 0},
    {IDC_HOURLY_TEMPERATURE, kHourlyTemperature, 0},
    {IDC_HOURLY_WIND_CHILL_HEAT_INDEX, kHourlyWindChillHeatIndex, 0},
    {IDC_HOURLY_DEW_POINT, kHourlyDewPoint, 0},
    {IDC_HOURLY_PRECIPITATION_CHANCE, kHourlyPrecipitationChance, 0},
    {IDC_HOURLY_WIND_SPEED, kHourlyWindSpeed, 0},
    {IDC_HOURLY_GUST, kHourlyGust, 0},
    {IDC_HOURLY_WIND_DIRECTION, kHourlyWindDirection, 0},
    {IDC_HOURLY_CLOUD, kHourlyCloud, 0},
    {IDC_HOURLY_HUMIDITY, kHourlyHumidity, 0},
    {IDC_HOURLY_PRECIPITATION, kHourlyPrecipitation, 0},
};
ToolbarIcon Icons[8];

// The table font the user chose; its handle is HourlyDataFont, which the main
// window deletes when it closes. After "Use Deault Font" the record keeps its
// contents, so that the next "Change Font" starts from it.
LOGFONTA DataFontRecord;

int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    return PointFeedTarget(kSection, row, targets);
}

HWND Table(HWND window) {
    return GetDlgItem(window, IDC_OUTPUT);
}

// Puts `font` (null: the dialog's own) on the table and releases the data
// font it replaces.
void SetDataFont(HWND window, HFONT font) {
    HFONT shown = font ? font : reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    SendMessageA(Table(window), WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    if (HourlyDataFont && HourlyDataFont != font)
        DeleteObject(HourlyDataFont);
    HourlyDataFont = font;
}

// --- the table ------------------------------------------------------------------

// Every row and every column, however many an earlier display inserted.
void EmptyTable(HWND table) {
    SendMessageA(table, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(table, LVM_DELETECOLUMN, 0, 0)) {
    }
}

void AddColumn(HWND table, int index, const std::string& caption, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(caption.c_str());
    column.cx = width;
    SendMessageA(table, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

// Fits a column to its cells, but never so narrow that its caption is cut.
void FitColumn(HWND table, int index, const std::string& caption) {
    constexpr int kCaptionMargins = 12; // the header's space around its text
    SendMessageA(table, LVM_SETCOLUMNWIDTH, index, LVSCW_AUTOSIZE);
    const LRESULT captionWidth =
        SendMessageA(table, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(caption.c_str())) +
        kCaptionMargins;
    if (SendMessageA(table, LVM_GETCOLUMNWIDTH, index, 0) < captionWidth)
        SendMessageA(table, LVM_SETCOLUMNWIDTH, index, captionWidth);
}

void FillTable(HWND table, const HourlyTable& hourly) {
    const std::string time = "Time";
    if (hourly.TimeColumn)
        AddColumn(table, 0, time, kHourlyTimeColumnWidth);
    for (size_t row = 0; row < hourly.Rows.size(); ++row)
        InsertListRow(table, static_cast<int>(row), {hourly.Rows[row]});
    if (hourly.TimeColumn)
        FitColumn(table, 0, time);
    int index = hourly.TimeColumn ? 1 : 0;
    for (const HourlyColumn& column : hourly.Columns) {
        AddColumn(table, index, column.Caption, column.Width);
        for (size_t row = 0; row < column.Cells.size(); ++row)
            SetListItemText(table, static_cast<int>(row), index, column.Cells[row]);
        FitColumn(table, index, column.Caption);
        ++index;
    }
}

// The table and the status line for the selected row's cached document.
void ShowSelectedForecast(const FeedPage& page, HWND window, HWND table) {
    if (RuntimeFlagSet(page.BusyBit)) {
        SetDlgItemTextA(window, IDC_STATUS, "Loading...");
        return;
    }
    PageRow row = TakeSelectedRow(page, window);
    std::string path, document;
    if (row.Index < 0 || !CachePathOf(page, row, &path))
        return; // nothing selected, or no catalog
    // A cache file that cannot be read (too large, locked) is shown as none;
    // so is an empty one, the service's "204 No Content".
    if (path.empty() || !FileExists(path.c_str()) || !ReadWholeFile(path.c_str(), &document) ||
        document.empty()) {
        SetDlgItemTextA(window, IDC_STATUS, "no data");
        return;
    }
    HourlyTable hourly =
        BuildHourlyTable(document, page.State->Flags, TextOf(HourlyForecastTimeFormat),
                         TextOf(GlobalSettings.TimeFormat));
    SetDlgItemTextA(window, IDC_STATUS, hourly.Status.c_str());
    FillTable(table, hourly);
    if (hourly.Rows.empty())
        SetDlgItemTextA(window, IDC_STATUS, "forecast not available for this area");
}

// Rebuilt from the cache on every display, on the user-interface thread.
void ShowHourlyForecast(const FeedPage& page, HWND window) {
    HWND table = Table(window);
    SendMessageA(table, WM_SETREDRAW, FALSE, 0);
    EmptyTable(table);
    SetDlgItemTextA(window, IDC_STATUS, "");
    ShowSelectedForecast(page, window, table);
    SendMessageA(table, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(table, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// --- the table's menu -----------------------------------------------------------

void OnTableRightClick(HWND window) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_HOURLY_CHANGE_FONT, "Change Font");
    AppendMenuA(menu, MF_STRING, IDM_DEFAULT_FONT, "Use Deault Font");
    AppendMenuA(menu, MF_STRING, IDM_EDIT_TIME_FORMAT, "Edit Time Column Format");
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    DestroyMenu(menu);
}

// True when the user chose a font (Cancel changes nothing, not even the table).
bool OnChangeFont(HWND window) {
    if (!ChooseFontSetting(window, kDataFontValue, &DataFontRecord))
        return false;
    SetDataFont(window, CreateFontIndirectA(&DataFontRecord));
    return true;
}

INT_PTR OnMessage(const FeedPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool* handled) {
    switch (message) {
    case WM_INITDIALOG: // after the skeleton's own set-up
        SendMessageA(Table(window), LVM_SETEXTENDEDLISTVIEWSTYLE, kTableStyles, kTableStyles);
        DataFontRecord = {};
        SetDataFont(window, ReadFontSetting(kDataFontValue, &DataFontRecord)
                                ? CreateFontIndirectA(&DataFontRecord)
                                : nullptr);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_OUTPUT && header->code == NM_RCLICK) {
            *handled = true;
            OnTableRightClick(window);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        bool redisplay = true;
        switch (LOWORD(wParam)) {
        case IDM_HOURLY_CHANGE_FONT:
            redisplay = OnChangeFont(window);
            break;
        case IDM_DEFAULT_FONT:
            SetDataFont(window, nullptr);
            DeleteSetting(kDataFontValue);
            break;
        case IDM_EDIT_TIME_FORMAT:
            ShowHourlyTimeFormatDialog(window);
            break;
        default:
            return FALSE;
        }
        *handled = true;
        if (redisplay)
            ShowHourlyForecast(page, window);
        return TRUE;
    }
    }
    return FALSE;
}

} // namespace

const FeedPage HourlyForecastFeed = {
    .DialogId = IDD_HOURLY_POINT_FORECAST,
    .State = &HourlyForecastPage,
    .BusyBit = kBusyHourlyForecast,
    .SelectedSlot = kSelectedHourlyForecast,
    .HelpTopic = "hourlypointforecast.html",
    .Toolbar = kPointPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = 0x1,
    .StatusRightBit = 0x2,
    .FlagControls = kColumnBoxes,
    .FlagControlCount = sizeof kColumnBoxes / sizeof kColumnBoxes[0],
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 3,
    .ListStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_ADD,
    .OpenAdd = OpenAddPoint,
    .OpenEdit = OpenEditPoint,
    .Targets = Targets,
    .Display = ShowHourlyForecast,
    .BoldOutput = false,
    .OnMessage = OnMessage,
};
