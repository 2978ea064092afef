// The user's saved lists "list.dat" in the per-user folder, written from the
// list views of the open main window and loaded section by section into them.
#ifndef CUMULON_SAVED_LISTS_H
#define CUMULON_SAVED_LISTS_H

// Writes every page's list. -1 (and the file untouched) when the main window is
// not visible or the file cannot be written.
int WriteSavedLists();

// Appends the rows of `section` ("[RADAR]") to its page's list. -1 when the
// file cannot be opened; an unknown or missing section loads nothing.
int LoadSavedLists(const char* section);

#endif
