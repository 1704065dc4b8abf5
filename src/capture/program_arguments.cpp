#include "capture/program_arguments.h"

#include <shellapi.h>
#include <winternl.h>

#include <algorithm>

#include "base/path_rules.h"
#include "base/strings.h"

namespace tv {

namespace {

using QueryProcess = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kBasicInformation = 0;
constexpr ULONG kCommandLineInformation = 60;
constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kLongestCommandLine = 32767 * sizeof(wchar_t);

QueryProcess Query() {
    static const QueryProcess query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    return query;
}

std::wstring FromCommandLineClass(HANDLE process, QueryProcess query) {
    std::vector<BYTE> buffer(sizeof(UNICODE_STRING) + 1024);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ULONG needed = 0;
        LONG status = query(process, kCommandLineInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kLengthMismatch && needed > buffer.size() && needed <= kLongestCommandLine + sizeof(UNICODE_STRING)) {
            buffer.resize(needed);
            continue;
        }
        if (status < 0) return {};
        const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
        if (!text->Buffer) return {};
        return std::wstring(text->Buffer, text->Length / sizeof(wchar_t));
    }
    return {};
}

template <class T>
bool ReadFrom(HANDLE process, const void* address, T& into) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &into, sizeof(T), &read) && read == sizeof(T);
}

// The command line in the process's parameters block, where this build can reach it.
std::wstring FromParameters(HANDLE process, QueryProcess query) {
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (query(process, kBasicInformation, &basic, sizeof(basic), &length) < 0 || !basic.PebBaseAddress) return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadFrom(process, basic.PebBaseAddress, peb) || !peb.ProcessParameters ||
        !ReadFrom(process, peb.ProcessParameters, parameters))
        return {};
    const UNICODE_STRING& line = parameters.CommandLine;
    if (!line.Buffer || line.Length == 0 || line.Length > kLongestCommandLine) return {};
    std::wstring text(line.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, line.Buffer, text.data(), line.Length, &read) || read != line.Length) return {};
    return text;
}

}  // namespace

std::wstring CommandLineOfProcess(HANDLE process) {
    QueryProcess query = Query();
    if (!query || !process) return {};
    std::wstring line = FromCommandLineClass(process, query);
    return line.empty() ? FromParameters(process, query) : line;
}

std::vector<std::wstring> DocumentArguments(const std::wstring& commandLine, const std::wstring& programPath,
                                            const std::function<bool(const std::wstring&)>& exists) {
    std::vector<std::wstring> documents;
    if (Trim(commandLine).empty()) return documents;
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine.c_str(), &count);
    if (!args) return documents;
    const std::wstring program = ToLower(Trim(programPath)), programName = ToLower(FileNameOf(program));
    for (int i = 1; i < count; ++i) {
        std::wstring arg = Trim(args[i]);
        if (arg.empty() || arg[0] == L'/' || arg[0] == L'-') continue;
        const std::wstring key = ToLower(arg);
        if (key == program || key == programName) continue;
        bool seen = std::any_of(documents.begin(), documents.end(),
                                [&key](const std::wstring& d) { return ToLower(d) == key; });
        if (!seen && exists(arg)) documents.push_back(arg);
    }
    LocalFree(args);
    return documents;
}

}  // namespace tv
