#include "services/file_io.h"

#include <windows.h>

bool FileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const char* path, std::string* content, size_t largest) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= largest;
    if (ok) {
        content->assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = content->empty() ||
             (ReadFile(file, content->data(), static_cast<DWORD>(content->size()), &read, nullptr) &&
              read == content->size());
    }
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const char* path, const std::string& content) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size();
    ok = FlushFileBuffers(file) && ok;
    return CloseHandle(file) && ok;
}
