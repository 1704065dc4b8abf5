#pragma once
// Path rules: plain functions over strings. Where a rule needs the machine it asks through a
// function the caller passes, so a test can answer instead.
#include <functional>
#include <string>

namespace tv {

using EnvLookup = std::function<std::wstring(const std::wstring& name)>;
std::wstring RealEnvironmentVariable(const std::wstring& name);

// Only the first %NAME% is replaced by the variable's value; an unknown or empty variable
// leaves the text as it was.
std::wstring ExpandFirstVariable(const std::wstring& s, const EnvLookup& env = RealEnvironmentVariable);

// The executable named by a command line: first variable expanded, surrounding quotes and
// arguments removed. Web addresses ("http:", "https:") come back unchanged.
std::wstring CommandLineProgramPath(const std::wstring& c, const EnvLookup& env = RealEnvironmentVariable);

// The text after the last backslash or colon.
std::wstring FileNameOf(const std::wstring& path);
// The text up to and including the last backslash or colon; empty when there is none.
std::wstring ContainerOf(const std::wstring& path);

bool IsWebAddress(const std::wstring& s);  // begins with "http:" or "https:", any case

// Exactly one trailing backslash; doubled backslashes inside collapse. Empty and network
// paths ("\\server...") stay as they are.
std::wstring NormaliseFolder(const std::wstring& path);

// A folder as it is handed to another program. The shell puts it in double quotes, and a
// trailing backslash would escape the closing one, so it goes without; a drive root becomes
// "C:\." so that it still names the root.
std::wstring FolderArgument(const std::wstring& folder);
// A path in double quotes, for a command line of our own making; a folder goes through
// FolderArgument first.
std::wstring QuotedArgument(const std::wstring& path);

// True for the picture viewer, by its command line or by its window title.
bool IsPhotoViewer(const std::wstring& text);

}  // namespace tv
