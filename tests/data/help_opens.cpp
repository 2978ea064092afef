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

struct Topic {
    const char* file;
    const char* window;
    const char* caption;
    const char* defaultCaption = nullptr; // the default window's caption, as Wine shows it
};

constexpr Topic kTopics[] = {
    {"intro.html", "MainWindow", "Cumulon Help"},
    {"settings.html", "MainWindow", "Cumulon Help"},
    {"pointforecast.html", "MainWindow", "Cumulon Help"},
    {"hourlypointforecast.html", "MainWindow", "Cumulon Help"},
    {"timedisplay.html", "MainWindow", "Cumulon Help"},
    {"observations.html", "MainWindow", "Cumulon Help"},
    {"metar.html", "MainWindow", "Cumulon Help"},
    {"river.html", "MainWindow", "Cumulon Help"},
    {"radar.html", "MainWindow", "Cumulon Help"},
    {"satellite.html", "MainWindow", "Cumulon Help"},
    {"alert.html", "MainWindow", "Cumulon Help"},
    {"alertmaplegend.html", "AlertMapLegend", "Alert Map Legend", "Cumulon Help"},
};

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
    for (const Topic& topic : kTopics) {
        char address[MAX_PATH];
        std::snprintf(address, sizeof address, "Cumulon.chm::/%s>%s", topic.file, topic.window);
        HWND window = help(GetDesktopWindow(), address, kDisplayTopic, 0);
        char caption[256] = "";
        if (window)
            GetWindowTextA(window, caption, sizeof caption);
        bool good =
            window && (std::strcmp(caption, topic.caption) == 0 ||
                       (topic.defaultCaption && std::strcmp(caption, topic.defaultCaption) == 0));
        std::printf("%-48s %s (\"%s\")\n", address, good ? "opens" : "FAILS", caption);
        if (!good)
            ++failures;
    }
    help(nullptr, nullptr, kCloseAll, 0);
    return failures == 0 ? 0 : 1;
}
