// Start-up benchmark (not a test): starts two programs in turn, many times,
// and times each from process creation to its first visible window of the
// given class and title; the working set is read at that moment. Both run in
// the same Wine session and on the same display, alternately, so the two
// figures share the machine's conditions.
//   startup_bench.exe RUNS EXE1 CLASS1 TITLE1 EXE2 CLASS2 TITLE2
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Target {
    std::string Exe, Class, Title;
    std::vector<double> Ms, WorkingSetKb;
};

struct Search {
    DWORD ProcessId;
    const Target* Target;
    bool Found;
};

BOOL CALLBACK Look(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "", title[64] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (process == search->ProcessId && IsWindowVisible(window) && search->Target->Class == className &&
        search->Target->Title == title) {
        search->Found = true;
        return FALSE;
    }
    return TRUE;
}

bool RunOnce(Target* target) {
    std::string folder = target->Exe.substr(0, target->Exe.rfind('\\'));
    std::string command = "\"" + target->Exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return false;
    Search search{process.dwProcessId, target, false};
    for (int spin = 0; spin < 30000 && !search.Found; ++spin) {
        EnumWindows(Look, reinterpret_cast<LPARAM>(&search));
        if (!search.Found)
            Sleep(1);
    }
    QueryPerformanceCounter(&now);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!search.Found)
        return false;
    target->Ms.push_back(1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart);
    target->WorkingSetKb.push_back(memory.WorkingSetSize / 1024.0);
    Sleep(300); // let the tray and the server settle
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr, "usage: startup_bench RUNS EXE1 CLASS1 TITLE1 EXE2 CLASS2 TITLE2\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    Target targets[2] = {{argv[2], argv[3], argv[4], {}, {}}, {argv[5], argv[6], argv[7], {}, {}}};
    for (Target& target : targets) // one warm-up each
        if (!RunOnce(&target))
            return 1;
    for (Target& target : targets) {
        target.Ms.clear();
        target.WorkingSetKb.clear();
    }
    for (int run = 0; run < runs; ++run)
        for (Target& target : targets)
            if (!RunOnce(&target))
                return 1;
    for (const Target& target : targets)
        std::printf("%-40s start to visible window: median %6.1f ms (min %6.1f, max %6.1f); working set %6.0f KB\n",
                    target.Exe.substr(target.Exe.rfind('\\') + 1).c_str(), Median(target.Ms),
                    *std::min_element(target.Ms.begin(), target.Ms.end()),
                    *std::max_element(target.Ms.begin(), target.Ms.end()), Median(target.WorkingSetKb));
    std::printf("ratio (first / second): time %.2f, working set %.2f (%d runs each)\n",
                Median(targets[0].Ms) / Median(targets[1].Ms),
                Median(targets[0].WorkingSetKb) / Median(targets[1].WorkingSetKb), runs);
    return 0;
}
