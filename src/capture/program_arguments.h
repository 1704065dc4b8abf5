#pragma once
// The documents a running program was started with: its command line, read from the process
// itself, and the arguments of it that name existing files or folders.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tv {

// The command line of a process opened with query and read rights; empty when it cannot be read.
// NtQueryInformationProcess with the command-line class where the system has it (Windows 8.1
// on), else the process's own parameters block reached through its basic information and read
// with ReadProcessMemory. A 32-bit build cannot reach a 64-bit process that second way.
std::wstring CommandLineOfProcess(HANDLE process);

// The arguments of `commandLine` that are documents: every argument after the first (the
// program) that is no switch ("/x", "-x"), not the program itself, and that `exists` (an
// existing file or folder). In order, each once.
std::vector<std::wstring> DocumentArguments(const std::wstring& commandLine, const std::wstring& programPath,
                                            const std::function<bool(const std::wstring&)>& exists);

}  // namespace tv
