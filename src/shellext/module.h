#pragma once
// What the whole library shares: its module handle, its class identifier and the object and
// lock counts that decide whether Explorer may unload it.
#include <windows.h>

#include <string>

namespace tv::menu {

// {ADE68C79-6ACF-41A3-A787-39ED643F4786}
inline constexpr CLSID kClsidContextMenu = {
    0xADE68C79, 0x6ACF, 0x41A3, {0xA7, 0x87, 0x39, 0xED, 0x64, 0x3F, 0x47, 0x86}};
// {2F15E0EA-A0D8-477A-A5CA-C5F998F5749C}
inline constexpr GUID kLibId = {
    0x2F15E0EA, 0xA0D8, 0x477A, {0xA5, 0xCA, 0xC5, 0xF9, 0x98, 0xF5, 0x74, 0x9C}};

HMODULE Module();
// Full path of this library; empty when it cannot be had.
std::wstring LibraryPath();

void ObjectCreated();
void ObjectDestroyed();
void ServerLocked(bool lock);
bool ServerInUse();  // any handler object alive or any factory lock held

}  // namespace tv::menu
