#include "shellext/class_factory.h"

#include "shellext/com_table.h"
#include "shellext/module.h"
#include "shellext/my_context_menu.h"

namespace tv::menu {

ClassFactory& ClassFactory::Instance() {
    static ClassFactory factory;
    return factory;
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    try {
        static const InterfaceEntry table[] = {
            {&IID_IClassFactory, InterfaceOffset<ClassFactory, IClassFactory>()},
            {nullptr, 0},
        };
        return QueryFromTable(this, table, riid, ppv);
    } catch (...) {
        return E_FAIL;
    }
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    try {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        TMyContextMenu* handler = TMyContextMenu::Create();
        if (!handler) return E_OUTOFMEMORY;
        HRESULT hr = handler->QueryInterface(riid, ppv);
        handler->Release();  // the caller's reference, if any, keeps it
        return hr;
    } catch (...) {
        return E_FAIL;
    }
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
    ServerLocked(lock != FALSE);
    return S_OK;
}

}  // namespace tv::menu
