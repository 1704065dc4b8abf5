// The library's entry point and its four exports.
#include "shellext/module.h"

#include "shellext/class_factory.h"
#include "shellext/registration.h"

namespace tv::menu {

namespace {
HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;
}  // namespace

HMODULE Module() { return g_module; }

std::wstring LibraryPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (int tries = 0; tries < 8; ++tries) {
        DWORD n = GetModuleFileNameW(g_module, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut off: try a larger buffer
    }
    return {};
}

void ObjectCreated() { InterlockedIncrement(&g_objects); }
void ObjectDestroyed() { InterlockedDecrement(&g_objects); }

void ServerLocked(bool lock) {
    if (lock) {
        InterlockedIncrement(&g_locks);
        return;
    }
    // An unlock without a lock must not hide a later lock.
    for (;;) {
        LONG held = g_locks;
        if (held <= 0) return;
        if (InterlockedCompareExchange(&g_locks, held - 1, held) == held) return;
    }
}

bool ServerInUse() { return g_objects > 0 || g_locks > 0; }

}  // namespace tv::menu

using namespace tv::menu;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    try {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualCLSID(clsid, kClsidContextMenu)) return CLASS_E_CLASSNOTAVAILABLE;
        return ClassFactory::Instance().QueryInterface(riid, ppv);
    } catch (...) {
        return E_FAIL;
    }
}

STDAPI DllCanUnloadNow() { return ServerInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
    try {
        return RegisterServer(LibraryPath());
    } catch (...) {
        return E_FAIL;
    }
}

STDAPI DllUnregisterServer() {
    try {
        return UnregisterServer();
    } catch (...) {
        return E_FAIL;
    }
}
