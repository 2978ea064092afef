#include "services/help.h"

#include "services/text_buffer.h"

#include <windows.h>

namespace {

// The HTML Help viewer's display-topic entry, exported by ordinal 14.
using HtmlHelpFn = HWND(WINAPI*)(HWND, const char*, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0;

HtmlHelpFn LoadHtmlHelp() {
    static HtmlHelpFn entry = [] {
        HMODULE viewer = LoadLibraryA("hhctrl.ocx");
        return viewer ? reinterpret_cast<HtmlHelpFn>(
                            reinterpret_cast<void*>(GetProcAddress(viewer, MAKEINTRESOURCEA(14))))
                      : nullptr;
    }();
    return entry;
}

} // namespace

void OpenHelpTopic(const char* topicFile, const char* window) {
    char topic[MAX_PATH];
    if (!FormatText(topic, sizeof topic, "Cumulon.chm::/%s>%s", topicFile, window))
        return;
    if (HtmlHelpFn htmlHelp = LoadHtmlHelp())
        htmlHelp(GetDesktopWindow(), topic, kDisplayTopic, 0);
}
