// The user's saved-lists file "list.dat" in the per-user folder: where it is,
// and loading one section into a page's list. The shell writes the file.
#ifndef CUMULON_SAVED_LISTS_FILE_H
#define CUMULON_SAVED_LISTS_FILE_H

#include <windows.h>

#include <cstddef>

// The full path of "list.dat"; false when it does not fit.
bool SavedListsPath(char* path, size_t size);

// Appends the rows of `section` ("[RADAR]") to `list`, with their check marks
// in the "[ALERTS]" section. -1 when the file cannot be opened; an unknown or
// missing section loads nothing. A list that has had its section loaded (or
// found no file to load it from) is marked: only such a list may be written
// back, or a window closed before its page loaded its list would empty the
// user's section.
int LoadSavedListSection(HWND list, const char* section);
bool SavedListLoaded(HWND list);

#endif
