#include "app/data_files.h"

#include "app/app_state.h"
#include "services/file_io.h"
#include "services/text_buffer.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace {

constexpr const char* kDataFiles[] = {"links.dat",        "metar.trv", "radar.trv",   "observations.trv",
                                      "river.trv",        "alert.trv", "zipcodes.dat"};

} // namespace

void EnsureFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        SHCreateDirectoryExA(nullptr, path, nullptr);
}

bool GetUserDataPath(char* path, size_t size, const char* relative) {
    char folder[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder)))
        return false;
    bool fits = CopyText(path, size, folder) && AppendText(path, size, "\\Quillmoor\\Cumulon");
    if (relative && *relative)
        fits = fits && AppendText(path, size, "\\") && AppendText(path, size, relative);
    return fits;
}

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
            MessageBoxA(HiddenWindow, name, "Missing File", MB_OK | MB_ICONERROR);
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
