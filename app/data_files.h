// The data files installed beside the program and the per-user folders.
#ifndef CUMULON_DATA_FILES_H
#define CUMULON_DATA_FILES_H

// Makes the program's folder the current directory, deletes a stale ticker
// queue, checks the installed data files (one "Missing File" box for the first
// one missing) and creates the per-user folders. 0, or -1 after a report.
int CheckDataFiles();

#endif
