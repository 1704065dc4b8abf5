// Opens one visible top-level window per argument, titled with it, and runs until closed.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TolvaneTestWindow";
    RegisterClassW(&wc);
    for (int i = 1; i < argc; ++i)
        CreateWindowExW(0, wc.lpszClassName, argv[i], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10 * i, 10 * i,
                        300, 200, nullptr, nullptr, instance, nullptr);
    LocalFree(argv);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
