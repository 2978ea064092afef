// Writing the user's saved lists "list.dat" from the list views of the open
// main window.
#ifndef CUMULON_SAVED_LISTS_H
#define CUMULON_SAVED_LISTS_H

// Writes every page's list; a page whose list does not exist keeps its
// section as the file holds it. -1 (and the file untouched) when the main
// window is not visible or the file cannot be written.
int WriteSavedLists();

#endif
