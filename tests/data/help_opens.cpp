// Opens every topic Cumulon opens from its help file, the way the program does
// (hhctrl.ocx, entry 14, "Cumulon.chm::/topic>Window" from the program folder),
// and fails when the viewer refuses one or shows it in a window of another
// caption.  Wine's viewer shows every window type with the caption of the help
// file's default window, so the legend may also come as "Cumulon Help".
//   help_opens.exe PROGRAM_FOLDER
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, const char*, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kCloseAll = 0x0012;

// The topics shown in the main help window, and the legend in a window of its own.
constexpr const char* kTopics[] = {
    "intro", "settings", "pointforecast", "hourlypointforecast", "timedisplay", "observations",
    "metar", "river",    "radar",         "satellite",           "alert",       "alertmaplegend"};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        std::fprintf(stderr, "usage: help_opens PROGRAM_FOLDER\n");
        return 2;
    }
    HMODULE viewer = LoadLibraryA("hhctrl.ocx");
    HtmlHelpFn help = viewer ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(
                                   GetProcAddress(viewer, MAKEINTRESOURCEA(14))))
                             : nullptr;
    if (!help) {
        std::fprintf(stderr, "hhctrl.ocx or its entry 14 is missing\n");
        return 1;
    }
    int failures = 0;
    for (const char* topic : kTopics) {
        const bool legend = std::strcmp(topic, "alertmaplegend") == 0;
        char address[MAX_PATH];
        std::snprintf(address, sizeof address, "Cumulon.chm::/%s.html>%s", topic,
                      legend ? "AlertMapLegend" : "MainWindow");
        HWND window = help(GetDesktopWindow(), address, kDisplayTopic, 0);
        char caption[256] = "";
        if (window)
            GetWindowTextA(window, caption, sizeof caption);
        bool good = window && (std::strcmp(caption, "Cumulon Help") == 0 ||
                               (legend && std::strcmp(caption, "Alert Map Legend") == 0));
        std::printf("%-48s %s (\"%s\")\n", address, good ? "opens" : "FAILS", caption);
        if (!good)
            ++failures;
    }
    help(nullptr, nullptr, kCloseAll, 0);
    return failures == 0 ? 0 : 1;
}
