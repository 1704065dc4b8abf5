#include "shellext/com_table.h"

namespace tv::menu {

HRESULT QueryFromTable(void* self, const InterfaceEntry* table, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!self || !table || !table->iid) return E_NOINTERFACE;
    const InterfaceEntry* found = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
        found = table;
    } else {
        for (const InterfaceEntry* e = table; e->iid; ++e) {
            if (IsEqualIID(riid, *e->iid)) {
                found = e;
                break;
            }
        }
    }
    if (!found) return E_NOINTERFACE;
    auto* part = reinterpret_cast<IUnknown*>(static_cast<char*>(self) + found->offset);
    part->AddRef();
    *ppv = part;
    return S_OK;
}

}  // namespace tv::menu
