#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kDataFiles[] = {"links.dat", "metar.trv", "radar.trv",   "observations.trv",
                                      "river.trv", "alert.trv", "zipcodes.dat"};

std::string EnvPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? WindowsPath(value) : std::string();
}

void DeleteTree(const std::string& folder) {
    const std::string from = folder + '\0'; // a list of paths ends with an empty one
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationA(&operation);
}

// A buffer in another process for control messages: a request record, its text at `kData`.
constexpr size_t kData = 256;
struct RemoteBuffer {
    HANDLE process = nullptr;
    char* address = nullptr;
    explicit RemoteBuffer(HWND window, size_t size = 4096) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process)
            address = static_cast<char*>(
                VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer() {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
        if (process)
            CloseHandle(process);
    }
    bool Write(const void* data, size_t size) {
        return address && WriteProcessMemory(process, address, data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) {
        return address && ReadProcessMemory(process, address + offset, data, size, nullptr);
    }
    LPARAM Param() const { return reinterpret_cast<LPARAM>(address); }
    // Sends `message` with `request`; LVM_GETITEMTEXTA answers the text's length, maybe 0.
    template <typename Request>
    bool Text(HWND window, UINT message, WPARAM wParam, Request request, std::string* text) {
        char buffer[2048] = "";
        request.pszText = address + kData;
        request.cchTextMax = sizeof buffer;
        if (!Write(&request, sizeof request) ||
            (!SendMessageA(window, message, wParam, Param()) && message != LVM_GETITEMTEXTA) ||
            !Read(buffer, sizeof buffer, kData))
            return false;
        buffer[sizeof buffer - 1] = '\0';
        *text = buffer;
        return true;
    }
};

// The children of `parent` (the top-level windows when null) of a class (any when null).
std::vector<HWND> Children(HWND parent, const char* className) {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExA(parent, window, className, nullptr));)
        found.push_back(window);
    return found;
}

// A mouse event at a screen point (absolute coordinates on a 0..65535 scale).
INPUT MouseInput(POINT at, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Presses and releases a button at `screen`, `clicks` times, each event
// carrying the point, with `key` (unless 0) held down around the clicks.
bool MouseClick(POINT screen, bool right, int clicks, WORD key = 0) {
    MoveMouseTo(screen);
    INPUT inputs[6] = {};
    int count = 0;
    if (key) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count++].ki.wVk = key;
    }
    for (int i = 0; i < 2 * std::clamp(clicks, 1, 2); ++i)
        inputs[count++] =
            MouseInput(screen, i % 2 ? (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)
                                     : (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
    if (key) {
        inputs[count] = inputs[0];
        inputs[count++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return SendInput(count, inputs, sizeof(INPUT)) == static_cast<UINT>(count);
}

// A top-down picture of 32 bits per pixel.
BITMAPINFOHEADER BitmapHeader(LONG width, LONG height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

// Per-monitor aware: the driver's sizes, positions and clicks are the
// screen's pixels whatever DPI the programs it drives run at.
[[maybe_unused]] const bool kDriverDpiAware = [] {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    return set && (set(reinterpret_cast<HANDLE>(-4)) || set(reinterpret_cast<HANDLE>(-3)));
}();

} // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
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
    const std::string built = BuiltProgramsFolder();
    if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS ||
        !CopyFileA((built + "\\Cumulon.exe").c_str(), (folder + "\\Cumulon.exe").c_str(), FALSE))
        return false;
    for (const char* name : kDataFiles) {
        const std::string source = built + "\\" + name, target = folder + "\\" + name;
        if (std::find(omit.begin(), omit.end(), name) != omit.end())
            continue;
        if (FileExists(source) ? !CopyFileA(source.c_str(), target.c_str(), FALSE)
                               : !WriteTextFile(target, "\r\n"))
            return false;
    }
    return true;
}

std::string UserDataFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, folder);
    return std::string(folder) + "\\Quillmoor\\Cumulon";
}

bool UseScreenDpi(int dpi) {
    const DWORD value = static_cast<DWORD>(dpi);
    return RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                           &value, sizeof value) == ERROR_SUCCESS;
}

void ForgetUserState() {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmoor");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Quillmoor - Cumulon");
    const std::string folder = UserDataFolder();
    DeleteTree(folder.substr(0, folder.rfind('\\'))); // ...\Quillmoor
}

bool SeedListFile(const std::string& text) {
    SHCreateDirectoryExA(nullptr, UserDataFolder().c_str(), nullptr);
    return WriteTextFile(UserDataFolder() + "\\list.dat", text);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return out.good();
}
std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int SampleServicePort() {
    return std::atoi(ReadTextFile(EnvPath("SAMPLE_SERVICE_STATE") + "\\port").c_str());
}
std::string SampleCatalog() {
    return ReadTextFile(EnvPath("SAMPLE_SERVICE_STATE") + "\\links.dat");
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

RunningProgram StartProgram(const std::string& exePath, const std::string& arguments) {
    RunningProgram program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::string folder = exePath.substr(0, exePath.rfind('\\'));
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &program.info))
        program.info = {};
    return program;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount();; Sleep(50)) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
}

std::vector<HWND> TopWindows(DWORD processId, const char* className, const char* title,
                             bool visibleOnly) {
    std::vector<HWND> found;
    for (HWND window : Children(nullptr, className)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if ((!processId || pid == processId) && (!visibleOnly || IsWindowVisible(window)) &&
            (!title || WindowText(window) == title))
            found.push_back(window);
    }
    return found;
}

HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs,
                      bool visibleOnly) {
    std::vector<HWND> found;
    WaitUntil(
        [&] { return !(found = TopWindows(processId, className, title, visibleOnly)).empty(); },
        timeoutMs);
    return found.empty() ? nullptr : found.front();
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    text[sizeof text - 1] = '\0';
    return text;
}

void SetText(HWND window, const std::string& text) {
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child : Children(dialog, "Static"))
        if (!WindowText(child).empty())
            texts.push_back(WindowText(child));
    return texts;
}

HWND VisiblePage(HWND main) {
    for (HWND page : Children(main, "#32770"))
        if (IsWindowVisible(page))
            return page;
    return nullptr;
}

int ListItemCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListItemText(HWND list, int item, int column) {
    LVITEMA request{};
    request.iSubItem = column;
    std::string text = "?";
    RemoteBuffer(list).Text(list, LVM_GETITEMTEXTA, item, request, &text);
    return text;
}

std::vector<std::string> ListColumnCaptions(HWND list) {
    std::vector<std::string> captions;
    RemoteBuffer remote(list);
    LVCOLUMNA request{};
    request.mask = LVCF_TEXT;
    for (std::string text; remote.Text(list, LVM_GETCOLUMNA, captions.size(), request, &text);)
        captions.push_back(text);
    return captions;
}

bool ListItemChecked(HWND list, int item) {
    UINT state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}
bool ListItemSelected(HWND list, int item) {
    return (SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool ControlRect(HWND control, UINT message, WPARAM wParam, RECT* rect) {
    RemoteBuffer remote(control, sizeof(RECT));
    return remote.Write(rect, sizeof *rect) &&
           SendMessageA(control, message, wParam, remote.Param()) &&
           remote.Read(rect, sizeof *rect);
}

bool ClickAt(HWND window, int x, int y, bool right, int clicks) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    return MouseClick(point, right, clicks);
}

bool ClickWindow(HWND window, bool right, int clicks) {
    RECT rect{};
    return window && GetWindowRect(window, &rect) &&
           MouseClick({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, right, clicks);
}

bool ClickControl(HWND dialog, int id) {
    return ClickWindow(GetDlgItem(dialog, id));
}
bool ClickTab(HWND tab, int index) {
    RECT rect{};
    return ControlRect(tab, TCM_GETITEMRECT, index, &rect) &&
           ClickAt(tab, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool ClickListRow(HWND list, int row, int x, int clicks, WORD key) {
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    POINT point;
    if (!ControlRect(list, LVM_GETITEMRECT, row, &rect))
        return false;
    point = {std::max<LONG>(rect.left, 0) + x, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &point);
    return MouseClick(point, false, clicks, key);
}

void MoveMouseTo(POINT at) {
    INPUT input = MouseInput(at, 0);
    SendInput(1, &input, sizeof input);
    WaitUntil(
        [&] {
            POINT now{};
            return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
        },
        1000);
    Sleep(30);
}

void PressMouseButton(bool right, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                             : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void TypeText(HWND edit, const std::string& text) {
    for (char c : text)
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    BITMAPINFOHEADER header = BitmapHeader(width, height);
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

COLORREF ScreenPixel(int x, int y) {
    std::vector<COLORREF> pixel = ScreenPixels({x, y, x + 1, y + 1});
    return pixel.empty() ? CLR_INVALID : pixel[0];
}

bool SaveScreenshot(HWND window, const std::string& name) {
    RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window && !GetWindowRect(window, &rect))
        return false;
    std::vector<COLORREF> pixels = ScreenPixels(rect);
    if (pixels.empty())
        return false;
    for (COLORREF& c : pixels) // the file's order: blue, green, red, opaque
        c = RGB(GetBValue(c), GetGValue(c), GetRValue(c)) | 0xFF000000u;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    const DWORD size = static_cast<DWORD>(pixels.size() * 4), offset = 14 + 40;
    BITMAPINFOHEADER header = BitmapHeader(width, height);
    header.biSizeImage = size;
    BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
    std::ofstream out(WorkFolder() + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(pixels.data()), size);
    return out.good();
}

bool ReadSetting(const char* name, std::vector<BYTE>* data, const char* key) {
    DWORD size = 0;
    auto read = [&](void* to) {
        return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, to, &size) ==
               ERROR_SUCCESS;
    };
    return read(nullptr) && (data->resize(size), read(data->data())) && (data->resize(size), true);
}
