#pragma once
// Failures the program carries on after without telling the user are still written where a
// debugger or a log viewer sees them.
namespace tv {
void LogSwallowed(const wchar_t* where);
}  // namespace tv
