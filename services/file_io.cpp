#include "services/file_io.h"

#include "services/text_buffer.h"

#include <windows.h>
#include <shlobj.h>

bool FileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const char* path, std::string* content, size_t largest) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok =
        GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= largest;
    if (ok) {
        content->assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = content->empty() || (ReadFile(file, content->data(),
                                           static_cast<DWORD>(content->size()), &read, nullptr) &&
                                  read == content->size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const char* path, const std::string& content) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}

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
