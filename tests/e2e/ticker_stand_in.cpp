// Stands in for Ticker.exe in an end-to-end test's program folder. Each start
// writes "ticker-run-N.txt" beside itself (N = 1, 2, ... the first free one):
// its command line, a line feed and the queue file's bytes. It then stays busy
// for the milliseconds "stand-in-busy-ms.txt" held at its start, deletes
// the queue as the real ticker does, writes "ticker-run-N.end", and ends with 0.
#include "ticker/ticker_options.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string folder(exe);
    folder.erase(folder.rfind('\\') + 1);

    TickerOptions options = ParseTickerOptions(arguments);
    const int busyMs = std::atoi(ReadFile(folder + "stand-in-busy-ms.txt").c_str());
    std::string run;
    for (int n = 1; run.empty(); ++n)
        if (GetFileAttributesA((folder + "ticker-run-" + std::to_string(n) + ".txt").c_str()) ==
            INVALID_FILE_ATTRIBUTES)
            run = folder + "ticker-run-" + std::to_string(n);
    WriteFile(run + ".tmp", std::string(GetCommandLineA()) + "\n" + ReadFile(options.QueueFile));
    MoveFileA((run + ".tmp").c_str(), (run + ".txt").c_str()); // whole when it appears

    Sleep(busyMs);
    DeleteFileA(options.QueueFile);
    WriteFile(run + ".end", "");
    return 0;
}
