#pragma once
// File-system helpers over wide paths.
#include <string>

namespace tv {

bool FileExists(const std::wstring& path);       // a file, not a folder
bool DirectoryExists(const std::wstring& path);  // a folder

// Creates a folder with all missing parents. An empty path is an error; a path shorter than
// three characters (a drive) or an existing folder counts as done.
bool CreateFolderTree(const std::wstring& path);

// Reads a whole file; false when it cannot be opened or is larger than maxBytes.
bool ReadFileBytes(const std::wstring& path, std::string& bytes, size_t maxBytes = 256u << 20);

// Writes a file through a temporary file in the same folder that then replaces the old one,
// so a crash or a full disk never leaves a half-written file where a good one was.
bool WriteFileAtomic(const std::wstring& path, const std::string& bytes);

std::wstring FolderOf(const std::wstring& path);  // text before the last backslash
std::wstring ModulePath();                        // full path of the running executable

}  // namespace tv
