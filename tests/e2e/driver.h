// Drives the real programs as a user would, under Wine beside them: program
// folders, windows, controls read across processes, real input, the screen.
#ifndef CUMULON_E2E_DRIVER_H
#define CUMULON_E2E_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

std::string WindowsPath(const std::string& unixPath); // "Z:\..."
std::string WorkFolder();                             // the test's scratch folder
std::string BuiltProgramsFolder();

// Makes `folder` a program folder: Cumulon.exe and the installed data files
// but those named in `omit`; a data file not built yet is a placeholder.
bool PrepareProgramFolder(const std::string& folder, const std::vector<std::string>& omit = {});

void ForgetUserState();       // the settings key, the Run value and the application-data folder
// The screen's DPI for programs started from now on (the prefix's "LogPixels").
// The driver itself works in the screen's pixels at every DPI.
bool UseScreenDpi(int dpi);
std::string UserDataFolder(); // ...\AppData\Roaming\Quillmoor\Cumulon
bool SeedListFile(const std::string& text); // the saved lists "list.dat"

bool FileExists(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path); // empty when missing

int SampleServicePort(); // the sample weather service started for the test run
std::string SampleCatalog();

struct RunningProgram {
    PROCESS_INFORMATION info{};
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const; // false on timeout
    void Kill();
};
RunningProgram StartProgram(const std::string& exePath, const std::string& arguments = "");

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

int ListItemCount(HWND list);
std::string ListItemText(HWND list, int item, int column);
std::vector<std::string> ListColumnCaptions(HWND list); // the header, left to right
bool ListItemChecked(HWND list, int item);
bool ListItemSelected(HWND list, int item);
// Sends a message that fills a RECT (holding the message's input) in the control's process.
bool ControlRect(HWND control, UINT message, WPARAM wParam, RECT* rect);

// Real input (SendInput): the click reaches the window under the pointer.
bool ClickAt(HWND window, int x, int y, bool right = false, int clicks = 1); // client coordinates
bool ClickWindow(HWND window, bool right = false, int clicks = 1);           // its centre
bool ClickControl(HWND dialog, int id);
bool ClickTab(HWND tab, int index);
// `x`: from the row's left end; in a check-box list the box is at the default.
// `key` (VK_CONTROL, VK_SHIFT) is held down around the click.
bool ClickListRow(HWND list, int row, int x = 8, int clicks = 1, WORD key = 0);
void MoveMouseTo(POINT at);
void PressMouseButton(bool right, bool down);
void PressKey(WORD key);                           // to the window with the focus
void TypeText(HWND edit, const std::string& text); // one WM_CHAR per character

std::vector<COLORREF> ScreenPixels(const RECT& area);
COLORREF ScreenPixel(int x, int y); // CLR_INVALID on failure
// `window` (the screen when null) as NAME.bmp in the work folder, which the runner makes a PNG.
bool SaveScreenshot(HWND window, const std::string& name);

// A value of any type under a key of the user's (by default the settings key).
bool ReadSetting(const char* name, std::vector<BYTE>* data,
                 const char* key = "Software\\Quillmoor\\Cumulon");

#endif
