#include "base/drop_list.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "base/strings.h"

namespace tv {

std::vector<std::wstring> DropListNames(const void* block, size_t size) {
    std::vector<std::wstring> names;
    if (!block || size < sizeof(DROPFILES)) return names;
    const char* bytes = static_cast<const char*>(block);
    DROPFILES header;
    std::memcpy(&header, bytes, sizeof(header));
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= size) return names;
    const char* at = bytes + header.pFiles;
    const char* const end = bytes + size;
    const size_t unit = header.fWide ? sizeof(wchar_t) : 1;
    for (;;) {
        // The next name's zero, looked for only within the block.
        const char* zero = at;
        if (header.fWide) {
            while (static_cast<size_t>(end - zero) >= unit && (zero[0] || zero[1])) zero += unit;
        } else {
            zero = static_cast<const char*>(std::memchr(at, 0, static_cast<size_t>(end - at)));
            if (!zero) zero = end;
        }
        if (static_cast<size_t>(end - zero) < unit) break;  // unended: it may be cut
        if (zero == at) break;                              // the empty name ends the list
        if (header.fWide) {
            std::wstring name(static_cast<size_t>(zero - at) / unit, L'\0');
            std::memcpy(&name[0], at, name.size() * unit);
            names.push_back(std::move(name));
        } else {
            names.push_back(FromAnsi(std::string(at, zero)));
        }
        at = zero + unit;
    }
    return names;
}

}  // namespace tv
