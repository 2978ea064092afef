// The smallest program that does what Cumulon's start-up must do before the
// user sees it: a notification-area icon and one visible window. The start-up
// benchmark times it beside Cumulon.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "MinimalTray";
    RegisterClassA(&windowClass);
    HWND hidden = CreateWindowExA(0, "MinimalTray", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = hidden;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    lstrcpynA(icon.szTip, "Minimal", sizeof icon.szTip);
    Shell_NotifyIconA(NIM_ADD, &icon);
    CreateWindowExA(0, "MinimalTray", "Minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 900, 600, nullptr,
                    nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
