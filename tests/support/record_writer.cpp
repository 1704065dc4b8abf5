// Writes a small record over the file named by its first argument and stops just before the
// written file would replace the old one: it creates the file named by its second argument
// and waits there to be killed.
#include <windows.h>
#include <shellapi.h>

#include "base/file_util.h"
#include "records/record_file.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tv::ShownRecord record;
    tv::TMyDoc item;
    item.path = item.title = L"C:\\replacement.txt";
    record.docs.Add(nullptr, item.title, record.items.Append(item));
    std::wstring marker = argv[2];
    tv::WriteRecordFile(record, argv[1], L"writer", [&marker](const std::wstring&) {
        tv::WriteFileAtomic(marker, "ready");
        Sleep(INFINITE);
    });
    return 0;
}
