// The data files installed beside the program and the per-user folders.
#ifndef CUMULON_DATA_FILES_H
#define CUMULON_DATA_FILES_H

#include <cstddef>

// Makes the program's folder the current directory, deletes a stale ticker
// queue, checks the installed data files (one "Missing File" box for the first
// one missing) and creates the per-user folders. 0, or -1 after a report.
int CheckDataFiles();

// Creates `path` with any missing folders above it, unless it exists.
void EnsureFolder(const char* path);

// The user's application-data folder joined with "Quillmoor\Cumulon" and, when
// not empty, `relative` ("cache", "list.dat"). False when it does not fit.
bool GetUserDataPath(char* path, size_t size, const char* relative);

#endif
