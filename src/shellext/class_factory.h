#pragma once
// The library's one class factory: each CreateInstance makes a new menu handler.
#include <windows.h>
#include <unknwn.h>

namespace tv::menu {

class ClassFactory : public IClassFactory {
public:
    // The library has a single factory that lives as long as the library is loaded, so its
    // reference count keeps nothing alive; locks are what DllCanUnloadNow counts.
    static ClassFactory& Instance();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ClassFactory() = default;
};

}  // namespace tv::menu
