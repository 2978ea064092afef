// The installed Cumulon as a user meets it after Setup: started from the
// target of its Start menu shortcut, it shows its window with the installed
// data files found and the user's saved list (seeded by installer-test.sh);
// Setup run again while it runs ends it the way Exit does.
#include "resources/resource_ids.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <commctrl.h>

#include <cstdlib>

#include <string>

namespace {

std::string KnownFolder(int id) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

struct Shortcut {
    std::string Target, Folder;
};
Shortcut ReadShortcut(const std::string& path) {
    Shortcut shortcut;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    std::wstring widePath(path.begin(), path.end());
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath.c_str(), STGM_READ))) {
        char text[MAX_PATH] = "";
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
            shortcut.Target = text;
        text[0] = '\0';
        if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
            shortcut.Folder = text;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    CoUninitialize();
    return shortcut;
}

// The installed program as the Start menu shortcut starts it, and its main window.
struct Installed {
    RunningProgram Program;
    HWND Main = nullptr;
};
void StartFromShortcut(Installed* installed) {
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Cumulon";
    const Shortcut shortcut = ReadShortcut(KnownFolder(CSIDL_PROGRAMS) + "\\Cumulon.lnk");
    ASSERT_EQ(lstrcmpiA(shortcut.Target.c_str(), (folder + "\\Cumulon.exe").c_str()), 0)
        << shortcut.Target;
    EXPECT_EQ(lstrcmpiA(shortcut.Folder.c_str(), folder.c_str()), 0) << shortcut.Folder;
    installed->Program = StartProgram(shortcut.Target);
    installed->Main =
        WaitForTopWindow(installed->Program.info.dwProcessId, "#32770", "Cumulon", 20000);
    ASSERT_NE(installed->Main, nullptr);
}

TEST(InstalledCumulon, StartsFromItsShortcutWithTheInstalledDataAndTheUsersList) {
    Installed cumulon;
    ASSERT_NO_FATAL_FAILURE(StartFromShortcut(&cumulon));
    // The data files are checked after the window appears: a missing one
    // would end the program with its "Missing File" box instead of the list.
    HWND list = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            list = GetDlgItem(VisiblePage(cumulon.Main), IDC_LIST);
            return ListItemCount(list) == 1 && ListItemText(list, 0, 0) == "Home";
        },
        10000));
    EXPECT_TRUE(TopWindows(cumulon.Program.info.dwProcessId, "#32770", "Missing File").empty());
    Sleep(300);
    SaveScreenshot(nullptr, "installed-cumulon");

    PostMessageA(cumulon.Main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1;
    EXPECT_TRUE(cumulon.Program.WaitForExit(20000, &code) && code == 0);
    cumulon.Program.Kill();
}

// Setup asks a running Cumulon to end as Exit does: it saves its settings
// (the page shown, kept only at the end) and ends with 0 before its files go.
TEST(InstalledCumulon, SetupOverTheRunningProgramEndsItAndItsSettingsAreSaved) {
    Installed cumulon;
    ASSERT_NO_FATAL_FAILURE(StartFromShortcut(&cumulon));
    constexpr int kRadarTab = 4;
    HWND tabs = GetDlgItem(cumulon.Main, IDC_TAB);
    ASSERT_TRUE(ClickTab(tabs, kRadarTab));
    ASSERT_TRUE(WaitUntil([&] { return TabCtrl_GetCurSel(tabs) == kRadarTab; }, 5000));

    const char* setupPath = std::getenv("CUMULON_SETUP");
    ASSERT_NE(setupPath, nullptr);
    RunningProgram setup = StartProgram(WindowsPath(setupPath), "/S");
    DWORD setupCode = 1, code = 1;
    EXPECT_TRUE(setup.WaitForExit(60000, &setupCode) && setupCode == 0) << setupCode;
    EXPECT_TRUE(cumulon.Program.WaitForExit(0, &code) && code == 0);
    std::vector<BYTE> tab;
    EXPECT_TRUE(ReadSetting("CurTab", &tab) && tab.size() == 4 && tab[0] == kRadarTab);
    setup.Kill();
    cumulon.Program.Kill();
}

} // namespace
