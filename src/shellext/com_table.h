#pragma once
// QueryInterface answered from a table of the interfaces a class offers and where each one
// sits inside the object.
#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <cstdint>

namespace tv::menu {

struct InterfaceEntry {
    const IID* iid;
    std::ptrdiff_t offset;  // of the interface's part within the object
};

// Offset of `Interface` inside `Class`: any non-null address serves for the cast.
template <class Class, class Interface>
std::ptrdiff_t InterfaceOffset() {
    Class* object = reinterpret_cast<Class*>(static_cast<std::uintptr_t>(64));
    return reinterpret_cast<char*>(static_cast<Interface*>(object)) -
           reinterpret_cast<char*>(object);
}

// Looks riid up in `table` (ended by a null iid); IUnknown is the first entry's part.
// The interface found is AddRef'ed through `self`.
HRESULT QueryFromTable(void* self, const InterfaceEntry* table, REFIID riid, void** ppv);

}  // namespace tv::menu
