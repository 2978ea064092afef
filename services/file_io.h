// Whole-file reads and writes, existence checks and the per-user folders.
#ifndef CUMULON_FILE_IO_H
#define CUMULON_FILE_IO_H

#include <string>

// More than any file the program reads ever holds: a larger one is refused.
constexpr size_t kLargestFileRead = 64u << 20;

bool FileExists(const char* path);
bool ReadWholeFile(const char* path, std::string* content, size_t largest = kLargestFileRead);
// Creates or truncates `path` and writes `content`, flushed to the disk.
bool WriteWholeFile(const char* path, const std::string& content);

// Creates `path` with any missing folders above it, unless it exists.
void EnsureFolder(const char* path);

// The user's application-data folder joined with "Quillmoor\Cumulon" and, when
// not empty, `relative` ("cache", "list.dat"). False when it does not fit.
bool GetUserDataPath(char* path, size_t size, const char* relative);

#endif
