#include "app/about_dialog.h"

#include "resources/resource_ids.h"
#include "services/dialog_texture.h"
#include "services/dpi.h"
#include "services/registry.h"
#include "services/shared_state.h"

#include <shellapi.h>

namespace {

// The address is short enough for the link's 69 dialog units in its font.
constexpr char kMakerSite[] = "http://quillmoor.example/";
constexpr char kDonationPage[] = "http://quillmoor.example/donate";

// What the open dialog created and releases when it closes, kept in its
// window's user data.
struct AboutState {
    HFONT LinkFont;
    HICON SmallIcon;
    HICON LargeIcon;
};

bool CursorOver(HWND dialog, int id) {
    POINT cursor;
    RECT rect;
    return GetCursorPos(&cursor) && GetWindowRect(GetDlgItem(dialog, id), &rect) &&
           PtInRect(&rect, cursor);
}

void OnInitDialog(HWND dialog, AboutState* state) {
    AboutDialog = dialog;
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    EnableDialogTexture(dialog, true);
    state->LinkFont = CreateFontA(ScaleForWindow(dialog, 14), 0, 0, 0, FW_NORMAL, FALSE, TRUE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    SendDlgItemMessageA(dialog, IDC_WEB_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(state->LinkFont),
                        FALSE);
    state->SmallIcon = static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_APP),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0));
    state->LargeIcon =
        static_cast<HICON>(LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state->SmallIcon));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state->LargeIcon));
    RestoreWindowPosition(dialog, "AboutXY");
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<AboutState*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_WEB_LINK)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 255));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return FALSE;
    case WM_SETCURSOR: {
        bool overLink = CursorOver(dialog, IDC_WEB_LINK) || CursorOver(dialog, IDC_DONATE);
        SetCursor(LoadCursor(nullptr, overLink ? IDC_HAND : IDC_ARROW));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        if (CursorOver(dialog, IDC_WEB_LINK))
            ShellExecuteA(dialog, "open", kMakerSite, nullptr, nullptr, SW_SHOWNORMAL);
        else if (CursorOver(dialog, IDC_DONATE))
            ShellExecuteA(dialog, "open", kDonationPage, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) // Esc closes the dialog the way its close box does
            SendMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_MOVE:
        SaveWindowPosition(dialog, "AboutXY");
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowAboutDialog(HWND owner) {
    if (AboutDialog) { // one About at a time: the open one comes to the front
        SetForegroundWindow(AboutDialog);
        return;
    }
    AboutState state{};
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc,
                    reinterpret_cast<LPARAM>(&state));
    AboutDialog = nullptr;
    // The dialog is gone: nothing draws with its font and icons any more.
    if (state.SmallIcon)
        DestroyIcon(state.SmallIcon);
    if (state.LargeIcon)
        DestroyIcon(state.LargeIcon);
    if (state.LinkFont)
        DeleteObject(state.LinkFont);
}
