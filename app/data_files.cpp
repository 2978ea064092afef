#include "app/data_files.h"

#include "services/file_io.h"
#include "services/shared_state.h"
#include "services/text_buffer.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr const char* kDataFiles[] = {"links.dat", "metar.trv", "radar.trv",   "observations.trv",
                                      "river.trv", "alert.trv", "zipcodes.dat"};

} // namespace

int CheckDataFiles() {
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (length > 0 && length < sizeof folder) {
        char* lastSlash = strrchr(folder, '\\');
        if (lastSlash) {
            lastSlash[1] = '\0';
            SetCurrentDirectoryA(folder);
        }
    }

    if (FileExists("ticker.$$$"))
        DeleteFileA("ticker.$$$");

    for (const char* name : kDataFiles) {
        if (!FileExists(name)) {
            // Owned by the main window when that is open: an owned window stays
            // above its owner whatever the order in which the two reach the
            // screen, and the owner takes no click while the box is open.
            // Owned by the hidden window, it could open unseen behind it.
            HWND owner = MainWindow && IsWindow(MainWindow) ? MainWindow : HiddenWindow;
            MessageBoxA(owner, name, "Missing File", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
            return -1;
        }
    }

    char path[MAX_PATH];
    if (GetUserDataPath(path, sizeof path, nullptr))
        EnsureFolder(path);
    if (GetUserDataPath(path, sizeof path, "cache"))
        EnsureFolder(path);
    return 0;
}
