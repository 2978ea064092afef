#include "pages/stations/observations_page.h"

#include "pages/stations/observations_report.h"
#include "resources/resource_ids.h"
#include "services/station_picker.h"

#include <commctrl.h>

namespace {

constexpr char kSection[] = "[OBSERVATIONS]";

const PageColumn kColumns[] = {{"", 0}, {"", 775}};
ToolbarIcon Icons[8];

constexpr uint32_t kTemperature = kObservationFahrenheit | kObservationCelsius;
constexpr uint32_t kPressure = kObservationInches | kObservationMillibars;
constexpr uint32_t kWind = kObservationMph | kObservationKnots;
const FlagControl kUnits[] = {
    {IDC_FAHRENHEIT, kObservationFahrenheit, kTemperature},
    {IDC_CELSIUS, kObservationCelsius, kTemperature},
    {IDC_INCHES, kObservationInches, kPressure},
    {IDC_MILLIBARS, kObservationMillibars, kPressure},
    {IDC_MPH, kObservationMph, kWind},
    {IDC_KNOTS, kObservationKnots, kWind},
};

// An identifier shorter than four characters gives no target: no download
// and "no data".
int Targets(const PageRow& row, uint32_t, std::vector<FeedTarget>* targets) {
    return CodeFeedTarget(kSection, row.Columns[0], "####", false, targets);
}

void Render(std::string_view document, const PageRow& row, uint32_t flags, PageText* text) {
    std::string_view identifier = std::string_view(row.Columns[0]).substr(0, kObservationIdLength);
    text->Output = BuildObservationReport(document, flags, identifier);
    CalendarTime observed;
    if (ObservationTime(document, &observed))
        SetStatusTime(text, observed);
}

} // namespace

const FeedPage ObservationsFeed = {
    .DialogId = IDD_OBSERVATIONS,
    .State = &ObservationsPage,
    .BusyBit = kBusyObservations,
    .SelectedSlot = kSelectedObservations,
    .HelpTopic = "observations.html",
    .Toolbar = kStationPageToolbar,
    .ToolbarCount = 8,
    .Icons = Icons,
    .StatusLeftBit = kObservationStatusLeft,
    .StatusRightBit = kObservationStatusRight,
    .FlagControls = kUnits,
    .FlagControlCount = 6,
    .ListSection = kSection,
    .Columns = kColumns,
    .ColumnCount = 2,
    .ListStyles = LVS_EX_FULLROWSELECT,
    .AddCommand = IDC_INDEX,
    .OpenAdd = OpenAddLocation,
    .OpenEdit = OpenEditLocation,
    .TreeFile = "observations.trv",
    .Targets = Targets,
    .Conditional = true,
    .Display = ShowFeedText,
    .Render = Render,
    .Style = TextStyle::Report,
};
