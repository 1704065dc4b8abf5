// tolvaneadmin: starts the program, or opens one document, with administrator rights.
//   no parameters, or switches ("/run"...): tolvane.exe from this folder, elevated, with
//     "/runasadmin" last, so that it knows it is the elevated instance;
//   a path: that path with its associated program, elevated.
// The exit code tells the caller what happened (constants.h). It writes nothing.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "base/constants.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/path_rules.h"
#include "base/strings.h"

namespace {

int StartElevated(const std::wstring& file, const std::wstring& parameters) {
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof(run);
    // The helper ends right after this call, so the shell must finish before it returns, and
    // a refusal is ours to report through the exit code, not the shell's to show.
    run.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = L"runas";
    run.lpFile = file.c_str();
    run.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&run)) return tv::kElevationStarted;
    return GetLastError() == ERROR_CANCELLED ? tv::kElevationRefused : tv::kElevationImpossible;
}

// The start-up replay switch becomes its elevated form; the elevated mark always goes last.
std::wstring ProgramSwitches(const std::wstring& given) {
    if (given.empty()) return L"/runasadmin";
    if (given == L"/run") return L"/run_admin /runasadmin";
    return given + L" /runasadmin";
}

int Tell(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), tv::kAppName, MB_OK | MB_ICONINFORMATION);
    return tv::kElevationImpossible;
}

// The open command of the path's type, with the path put in for its placeholder.
bool AssociatedCommand(const std::wstring& path, std::wstring& program, std::wstring& arguments) {
    wchar_t command[2048] = {};
    DWORD size = ARRAYSIZE(command);
    // Asked by the extension: some shells answer nothing for a whole path.
    const wchar_t* extension = PathFindExtensionW(path.c_str());
    if (!*extension || FAILED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_COMMAND, extension, L"open", command, &size)) ||
        !command[0])
        return false;
    std::wstring line = tv::Trim(command);
    size_t end = line[0] == L'"' ? line.find(L'"', 1) : line.find(L' ');
    program = line[0] == L'"' ? line.substr(1, end == std::wstring::npos ? std::wstring::npos : end - 1)
                              : line.substr(0, end);
    arguments = end == std::wstring::npos ? L"" : tv::Trim(line.substr(end + 1));
    bool placed = false;
    for (const wchar_t* mark : {L"%1", L"%L", L"%l"}) {
        for (size_t at = arguments.find(mark); at != std::wstring::npos; at = arguments.find(mark, at + path.size())) {
            arguments.replace(at, 2, path);
            placed = true;
        }
    }
    if (!placed) arguments += (arguments.empty() ? L"" : L" ") + tv::QuotedArgument(path);
    return !program.empty();
}

int OpenDocument(std::wstring path) {
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Tell(L"\"" + path + L"\" does not exist.");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return StartElevated(L"explorer.exe", tv::QuotedArgument(path));
    std::wstring program, arguments;
    if (!AssociatedCommand(path, program, arguments))
        return Tell(L"No program is associated with \"" + path + L"\".");
    return StartElevated(program, arguments);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR params, int) {
    tv::ComScope com;
    const std::wstring given = tv::Trim(params ? params : L"");
    if (given.empty() || given[0] == L'/')
        return StartElevated(tv::FolderOf(tv::ModulePath()) + L"\\" + tv::kExeName, ProgramSwitches(given));
    return OpenDocument(given);
}
