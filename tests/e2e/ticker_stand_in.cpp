// Stands in for Ticker.exe in an end-to-end test's program folder. Each start
// writes "ticker-run-N.txt" beside itself (N = 1, 2, ...): its command line, a
// line feed and its queue file's bytes. It stays busy for the milliseconds
// "stand-in-busy-ms.txt" held at its start, deletes the queue as the real
// ticker does, writes "ticker-run-N.end" and ends with 0.
#include "ticker/ticker_options.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string folder = std::string(exe).substr(0, std::string(exe).rfind('\\') + 1);
    const TickerOptions options = ParseTickerOptions(arguments);
    const int busyMs = std::atoi(ReadFile(folder + "stand-in-busy-ms.txt").c_str());
    std::string run = folder + "ticker-run-1";
    for (int n = 2; GetFileAttributesA((run + ".txt").c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
        run = folder + "ticker-run-" + std::to_string(n);
    std::ofstream(run + ".tmp", std::ios::binary) << GetCommandLineA() << "\n"
                                                  << ReadFile(options.QueueFile);
    MoveFileA((run + ".tmp").c_str(), (run + ".txt").c_str()); // whole when it appears
    Sleep(busyMs);
    DeleteFileA(options.QueueFile);
    std::ofstream(run + ".end", std::ios::binary);
    return 0;
}
