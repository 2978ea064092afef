// The installed Cumulon as a user meets it after Setup: started from the
// target of its Start menu shortcut, it shows its window with the installed
// data files found and the user's saved list (seeded by installer-test.sh).
#include "resources/resource_ids.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

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

TEST(InstalledCumulon, StartsFromItsShortcutWithTheInstalledDataAndTheUsersList) {
    const std::string folder = KnownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Cumulon";
    const Shortcut shortcut = ReadShortcut(KnownFolder(CSIDL_PROGRAMS) + "\\Cumulon.lnk");
    ASSERT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, shortcut.Target.c_str(), -1,
                             (folder + "\\Cumulon.exe").c_str(), -1),
              CSTR_EQUAL)
        << shortcut.Target;
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, shortcut.Folder.c_str(), -1,
                             folder.c_str(), -1),
              CSTR_EQUAL)
        << shortcut.Folder;

    RunningProgram program = StartProgram(shortcut.Target);
    HWND main = WaitForTopWindow(program.info.dwProcessId, "#32770", "Cumulon", 20000);
    ASSERT_NE(main, nullptr);
    // The data files are checked after the window appears: a missing one
    // would end the program with its "Missing File" box instead of the list.
    HWND list = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            list = GetDlgItem(VisiblePage(main), IDC_LIST);
            return ListItemCount(list) == 1 && ListItemText(list, 0, 0) == "Home";
        },
        10000));
    EXPECT_TRUE(TopWindows(program.info.dwProcessId, "#32770", "Missing File").empty());
    Sleep(300);
    SaveScreenshot(nullptr, "installed-cumulon");

    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1;
    EXPECT_TRUE(program.WaitForExit(20000, &code) && code == 0);
    program.Kill();
}

} // namespace
