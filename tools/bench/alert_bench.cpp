// Auto-alert benchmark (not a test): Cumulon's short-timer test build with ten
// marked zones against the sample weather service. Auto Alerts is switched on
// ten times from the alerts page; each time, the time from timer 500 firing
// (1.5 s after the switch in that build) to the start of the ticker stand-in,
// which stamps its start with a file. Runs under Wine beside the programs.
//   alert_bench.exe FAST_CUMULON.exe TICKER_STAND_IN.exe   (Unix paths)
#include "tests/e2e/driver.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kFirstDelayMs = 1500;

int64_t Milliseconds(const FILETIME& time) {
    return ((static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}

int64_t WrittenAt(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
               ? Milliseconds(data.ftLastWriteTime)
               : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const std::string folder = WorkFolder() + "\\program";
    ForgetUserState();
    std::string list = "Cumulon 3.0.7.143\r\n\r\n[ALERTS]\r\n";
    for (const char* code : {"KYZ030", "ILZ103", "TXZ103", "COZ039", "FLZ173", "WAZ558", "ALZ001",
                             "ALZ024", "INZ076", "OHZ077"})
        list += std::string("1\xBB") + code + "\xBB" + code + " Zone\r\n";
    if (!PrepareProgramFolder(folder) ||
        !CopyFileA(WindowsPath(argv[1]).c_str(), (folder + "\\Cumulon.exe").c_str(), FALSE) ||
        !CopyFileA(WindowsPath(argv[2]).c_str(), (folder + "\\Ticker.exe").c_str(), FALSE) ||
        !WriteTextFile(folder + "\\links.dat", SampleCatalog()) || !SeedListFile(list + "\r\n"))
        return 1;
    RunningProgram cumulon = StartProgram(folder + "\\Cumulon.exe");
    HWND main = WaitForTopWindow(cumulon.info.dwProcessId, "#32770", "Cumulon", 20000);
    HWND page = nullptr;
    if (!main || !ClickTab(GetDlgItem(main, 5068), 3) ||
        !WaitUntil([&] { return (page = VisiblePage(main)) && GetDlgItem(page, 5132); }, 5000))
        return 1;
    HWND box = GetDlgItem(page, 5132);
    std::vector<int64_t> times;
    for (int run = 1; run <= 10; ++run) {
        const std::string started = folder + "\\ticker-run-" + std::to_string(run);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ClickAt(box, run % 2 ? 4 : 20, 5); // on; alternate places: never a double click
        if (!WaitUntil([&] { return WrittenAt(started + ".txt") != 0; }, 20000))
            return 1;
        times.push_back(WrittenAt(started + ".txt") - Milliseconds(now) - kFirstDelayMs);
        ClickAt(box, run % 2 ? 20 : 4, 5); // off
        WaitUntil([&] { return WrittenAt(started + ".end") != 0; }, 5000);
        Sleep(300); // the check has ended
    }
    cumulon.Kill();
    std::sort(times.begin(), times.end());
    std::printf("ten zones, timer to ticker start: median %lld ms, min %lld ms, max %lld ms "
                "(10 runs)\n",
                static_cast<long long>((times[4] + times[5]) / 2),
                static_cast<long long>(times.front()), static_cast<long long>(times.back()));
    return 0;
}
