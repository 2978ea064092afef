#include "tests/e2e/driver.h"

#include <algorithm>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr const char* kDataFiles[] = {"links.dat", "metar.trv", "radar.trv",   "observations.trv",
                                      "river.trv", "alert.trv", "zipcodes.dat"};

std::string EnvPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? WindowsPath(value) : std::string();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// A buffer in another process for the cross-process control messages.
struct RemoteBuffer {
    HANDLE process = nullptr;
    void* address = nullptr;
    RemoteBuffer(HWND window, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process)
            address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
        if (process)
            CloseHandle(process);
    }
    bool Write(const void* data, size_t size, size_t offset = 0) {
        return address && WriteProcessMemory(process, static_cast<char*>(address) + offset, data,
                                             size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) {
        return address && ReadProcessMemory(process, static_cast<char*>(address) + offset, data,
                                            size, nullptr);
    }
    template <typename T> T* At(size_t offset) {
        return reinterpret_cast<T*>(static_cast<char*>(address) + offset);
    }
};

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || (search->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    char className[256] = "";
    GetClassNameA(window, className, sizeof className);
    if (search->className && lstrcmpiA(className, search->className) != 0)
        return TRUE;
    if (search->title && WindowText(window) != search->title)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM context) {
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        std::string text = WindowText(child);
        if (!text.empty())
            reinterpret_cast<std::vector<std::string>*>(context)->push_back(text);
    }
    return TRUE;
}

} // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string WorkFolder() {
    return EnvPath("E2E_WORK");
}
std::string BuiltProgramsFolder() {
    return EnvPath("CUMULON_BIN");
}

bool PrepareProgramFolder(const std::string& folder, const std::vector<std::string>& omit) {
    DeleteTree(folder);
    if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS)
        return false;
    std::string built = BuiltProgramsFolder();
    if (!CopyFileA((built + "\\Cumulon.exe").c_str(), (folder + "\\Cumulon.exe").c_str(), FALSE))
        return false;
    for (const char* name : kDataFiles) {
        bool omitted = false;
        for (const std::string& o : omit)
            omitted = omitted || o == name;
        if (omitted)
            continue;
        std::string source = built + "\\" + name;
        std::string target = folder + "\\" + name;
        if (FileExists(source)) {
            if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
                return false;
        } else {
            std::ofstream placeholder(target, std::ios::binary);
            placeholder << "\r\n";
        }
    }
    return true;
}

std::string UserDataFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder);
    return std::string(folder) + "\\Quillmoor\\Cumulon";
}

void ForgetUserState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor");
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Quillmoor - Cumulon");
        RegCloseKey(run);
    }
    std::string folder = UserDataFolder();
    DeleteTree(folder);
    DeleteTree(folder.substr(0, folder.rfind('\\')));
}

bool SeedListFile(const std::string& text) {
    SHCreateDirectoryExA(nullptr, UserDataFolder().c_str(), nullptr);
    return WriteTextFile(UserDataFolder() + "\\list.dat", text);
}

bool RunningProgram::Running() const {
    return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!info.hProcess || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(info.hProcess, exitCode);
    return true;
}

void RunningProgram::Kill() {
    if (Running()) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    if (info.hProcess)
        CloseHandle(info.hProcess);
    if (info.hThread)
        CloseHandle(info.hThread);
    info = {};
}

RunningProgram StartProgram(const std::string& exePath) {
    RunningProgram program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    std::string folder = exePath.substr(0, exePath.rfind('\\'));
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &program.info))
        program.info = {};
    return program;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
}

std::vector<HWND> TopWindows(DWORD processId, const char* className, const char* title,
                             bool visibleOnly) {
    WindowSearch search{processId, className, title, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> found = TopWindows(processId, className, title);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    text[sizeof text - 1] = '\0';
    return text;
}

std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::vector<std::string> TabCaptions(HWND tab) {
    std::vector<std::string> captions;
    int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    constexpr size_t kTextOffset = 256;
    RemoteBuffer remote(tab, 1024);
    for (int i = 0; i < count; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote.At<char>(kTextOffset);
        item.cchTextMax = 512;
        char text[512] = "";
        if (remote.Write(&item, sizeof item) &&
            SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(remote.address)) &&
            remote.Read(text, sizeof text, kTextOffset)) {
            text[sizeof text - 1] = '\0';
            captions.push_back(text);
        } else {
            captions.push_back("?");
        }
    }
    return captions;
}

int TabSelection(HWND tab) {
    return static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
}

int ListItemCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListItemText(HWND list, int item, int column) {
    constexpr size_t kTextOffset = 256;
    RemoteBuffer remote(list, 4096);
    LVITEMA request{};
    request.iSubItem = column;
    request.pszText = remote.At<char>(kTextOffset);
    request.cchTextMax = 2048;
    char text[2048] = "";
    if (!remote.Write(&request, sizeof request))
        return "?";
    SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(remote.address));
    remote.Read(text, sizeof text, kTextOffset);
    text[sizeof text - 1] = '\0';
    return text;
}

std::vector<std::string> ListColumnCaptions(HWND list) {
    constexpr size_t kTextOffset = 256;
    std::vector<std::string> captions;
    RemoteBuffer remote(list, 1024);
    for (int column = 0;; ++column) {
        LVCOLUMNA request{};
        request.mask = LVCF_TEXT;
        request.pszText = remote.At<char>(kTextOffset);
        request.cchTextMax = 512;
        char text[512] = "";
        if (!remote.Write(&request, sizeof request) ||
            !SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(remote.address)))
            return captions;
        remote.Read(text, sizeof text, kTextOffset);
        text[sizeof text - 1] = '\0';
        captions.push_back(text);
    }
}

bool ListItemChecked(HWND list, int item) {
    UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool ListItemSelected(HWND list, int item) {
    return (SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

// --- mouse input, as a user gives it ----------------------------------------------

namespace {

// Moves the pointer to `screen` and presses and releases `button` there,
// `clicks` times. The click reaches whatever window is under the pointer,
// through the system's own input handling.
bool MouseClick(POINT screen, bool right = false, int clicks = 1) {
    if (!SetCursorPos(screen.x, screen.y))
        return false;
    Sleep(30);
    INPUT inputs[4] = {};
    const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    int count = 0;
    for (int i = 0; i < clicks && count < 4; ++i) {
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = down;
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = up;
    }
    return SendInput(count, inputs, sizeof(INPUT)) == static_cast<UINT>(count);
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return point;
}

POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace

bool ClickTab(HWND tab, int index) {
    RemoteBuffer remote(tab, sizeof(RECT));
    RECT rect{};
    if (!SendMessageA(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.address)) ||
        !remote.Read(&rect, sizeof rect))
        return false;
    return MouseClick(
        ClientToScreenPoint(tab, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

bool ClickWindow(HWND window) {
    return window && MouseClick(CentreOf(window));
}
bool RightClickWindow(HWND window) {
    return window && MouseClick(CentreOf(window), true);
}
bool ClickControl(HWND dialog, int id) {
    return ClickWindow(GetDlgItem(dialog, id));
}
bool ClickAt(HWND window, int x, int y, bool right) {
    return MouseClick(ClientToScreenPoint(window, x, y), right);
}

void TypeText(HWND edit, const std::string& text) {
    for (char c : text)
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

namespace {

bool ListRowPoint(HWND list, int row, POINT* at, int x = 8) {
    RemoteBuffer remote(list, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!remote.Write(&rect, sizeof rect) ||
        !SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.address)) ||
        !remote.Read(&rect, sizeof rect))
        return false;
    // Near the left end of the row's visible part (a first column of width 0
    // hides nothing there), on the screen.
    *at = ClientToScreenPoint(list, std::max<LONG>(rect.left, 0) + x, (rect.top + rect.bottom) / 2);
    return true;
}

BOOL CALLBACK FindVisiblePage(HWND child, LPARAM context) {
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "#32770") == 0 && IsWindowVisible(child)) {
        *reinterpret_cast<HWND*>(context) = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text;
}

bool ClickListRow(HWND list, int row, int x) {
    POINT at;
    return ListRowPoint(list, row, &at, x) && MouseClick(at);
}

bool DoubleClickListRow(HWND list, int row) {
    POINT at;
    return ListRowPoint(list, row, &at) && MouseClick(at, false, 2);
}

bool SelectListRows(HWND list, const std::vector<int>& rows) {
    RemoteBuffer remote(list, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    if (!remote.Write(&item, sizeof item) ||
        !SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(remote.address)))
        return false;
    for (int row : rows) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        if (!remote.Write(&item, sizeof item) ||
            !SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.address)))
            return false;
    }
    return true;
}

void SetText(HWND window, const std::string& text) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool DoubleClickOnControl(HWND dialog, int id) {
    return MouseClick(CentreOf(GetDlgItem(dialog, id)), false, 2);
}

HWND VisiblePage(HWND main) {
    HWND page = nullptr;
    EnumChildWindows(main, FindVisiblePage, reinterpret_cast<LPARAM>(&page));
    return page;
}

int SampleServicePort() {
    const char* state = std::getenv("SAMPLE_SERVICE_STATE");
    return state ? std::atoi(ReadTextFile(WindowsPath(state) + "\\port").c_str()) : 0;
}

std::string SampleCatalog() {
    const char* state = std::getenv("SAMPLE_SERVICE_STATE");
    return state ? ReadTextFile(WindowsPath(state) + "\\links.dat") : std::string();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return out.good();
}

bool SaveScreenshot(HWND window, const std::string& name) {
    RECT rect;
    if (window) {
        if (!GetWindowRect(window, &rect))
            return false;
    } else {
        rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up, as a BMP file stores it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DWORD rowSize = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        DWORD imageSize = rowSize * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + imageSize;
        header.biSizeImage = imageSize;
        std::ofstream out(WorkFolder() + "\\" + name + ".bmp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&header), sizeof header);
        out.write(static_cast<const char*>(bits), imageSize);
        ok = out.good();
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool ReadSettingDword(const char* name, DWORD* value) {
    DWORD size = sizeof *value, type = 0;
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", name, RRF_RT_REG_DWORD,
                        &type, value, &size) == ERROR_SUCCESS;
}

bool ReadSettingBinary(const char* name, std::vector<BYTE>* data) {
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", name, RRF_RT_REG_BINARY,
                     nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    data->resize(size);
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", name, RRF_RT_REG_BINARY,
                        nullptr, data->data(), &size) == ERROR_SUCCESS;
}

bool ReadSettingString(const char* name, std::string* text) {
    char value[2048];
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", name, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    *text = value;
    return true;
}

bool ReadRunValue(std::string* command) {
    char value[2048];
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                     "Quillmoor - Cumulon", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return false;
    *command = value;
    return true;
}

bool SettingsKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quillmoor\\Cumulon", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// ---- Real mouse input, screen pixels and program arguments ----

RunningProgram StartProgramWithArguments(const std::string& exePath, const std::string& arguments) {
    RunningProgram program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\" " + arguments;
    std::string folder = exePath.substr(0, exePath.rfind('\\'));
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &program.info))
        program.info = {};
    return program;
}

void MoveMouseTo(POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

void PressMouseButton(bool right, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                             : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
    int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height; // top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const DWORD* rgb = static_cast<const DWORD*>(bits); // 0x00RRGGBB
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(RGB(LOBYTE(rgb[i] >> 16), LOBYTE(rgb[i] >> 8), LOBYTE(rgb[i])));
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}
