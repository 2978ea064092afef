// What the end-to-end tests use to drive the real programs as a user would:
// start them in a program folder of their own, find their windows, read their
// controls across processes, click and type with real input, and read the
// screen. Runs under Wine beside the programs (same prefix and display).
#ifndef CUMULON_E2E_DRIVER_H
#define CUMULON_E2E_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// "Z:\..." for a Unix path, as Wine maps the Unix root to drive Z:.
std::string WindowsPath(const std::string& unixPath);
// The test's scratch folder and the folder of the built programs (Windows paths).
std::string WorkFolder();
std::string BuiltProgramsFolder();

// Makes `folder` a program folder: Cumulon.exe and the installed data files
// but those named in `omit`; a data file not built yet is a placeholder.
bool PrepareProgramFolder(const std::string& folder, const std::vector<std::string>& omit = {});

// Forgets the settings key, the Run value and the application-data folder.
void ForgetUserState();
std::string UserDataFolder();               // ...\AppData\Roaming\Quillmoor\Cumulon
bool SeedListFile(const std::string& text); // the saved lists "list.dat"

bool FileExists(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path); // empty when missing

// The sample weather service started for the test run: its port and catalog.
int SampleServicePort();
std::string SampleCatalog();

struct RunningProgram {
    PROCESS_INFORMATION info{};
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const; // false on timeout
    void Kill();
};
// Starts a program from its own folder with `arguments` after its quoted path.
RunningProgram StartProgram(const std::string& exePath, const std::string& arguments = "");

// Polls `condition` every 50 ms until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Top-level windows of a process (of any when 0), by class and (when not null) exact title.
std::vector<HWND> TopWindows(DWORD processId, const char* className, const char* title,
                             bool visibleOnly = true);
HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs,
                      bool visibleOnly = true);

std::string WindowText(HWND window);
void SetText(HWND window, const std::string& text); // WM_SETTEXT
std::vector<std::string> StaticTexts(HWND dialog);  // a message box's message is the last
HWND VisiblePage(HWND main);                        // the page dialog shown in the main window

// Common controls read across processes.
int TabSelection(HWND tab);
int ListItemCount(HWND list);
std::string ListItemText(HWND list, int item, int column);
std::vector<std::string> ListColumnCaptions(HWND list); // the header, left to right
bool ListItemChecked(HWND list, int item);
bool ListItemSelected(HWND list, int item);
// Sends a message that fills the rectangle it is given (which holds what the
// message reads first) through the control's own process memory.
bool ControlRect(HWND control, UINT message, WPARAM wParam, RECT* rect);

// Real input (SendInput): the pointer moves there and the button is pressed,
// so the click reaches the window under the pointer through its own handling.
bool ClickAt(HWND window, int x, int y, bool right = false, int clicks = 1); // client coordinates
bool ClickWindow(HWND window, bool right = false, int clicks = 1);           // its centre
bool ClickControl(HWND dialog, int id);
bool ClickTab(HWND tab, int index);
// `x`: from the row's left end; in a check-box list the box is at the default.
bool ClickListRow(HWND list, int row, int x = 8, int clicks = 1);
// For holding a button while the pointer moves.
void MoveMouseTo(POINT at);
void PressMouseButton(bool right, bool down);
void PressKey(WORD key);                           // to the window with the focus
void TypeText(HWND edit, const std::string& text); // one WM_CHAR per character

// The colours of a screen rectangle's pixels, row by row (empty on failure).
std::vector<COLORREF> ScreenPixels(const RECT& area);
COLORREF ScreenPixel(int x, int y); // CLR_INVALID on failure
// Saves `window` (the whole screen when null) as NAME.bmp in the work folder;
// the test runner turns it into NAME.png.
bool SaveScreenshot(HWND window, const std::string& name);

// A value of any type under a key of the user's (by default the settings key).
bool ReadSetting(const char* name, std::vector<BYTE>* data,
                 const char* key = "Software\\Quillmoor\\Cumulon");

#endif
