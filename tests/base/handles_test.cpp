// The owners of base/handles.h: what they give back, and what they leave alone.
#include "base/handles.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Runs `body` on a thread of its own, so its COM state starts empty and ends with the thread.
template <class F>
void OnFreshThread(F body) {
    std::thread t(body);
    t.join();
}

TEST(ComScopes, LeaveAnApartmentTheyCouldNotEnterAsItWas) {
    OnFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            tv::ComScope single;  // another model on the same thread is refused...
            EXPECT_EQ(single.result(), RPC_E_CHANGED_MODE);
        }
        {
            tv::OleScope ole;  // ...as is OLE, which needs a single-threaded apartment
            EXPECT_TRUE(FAILED(ole.result()));
        }
        // ...and neither took the thread's own initialisation away with it: a second one still
        // counts as a repeat.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    });
}

TEST(ComScopes, UninitialiseWhatTheyInitialised) {
    OnFreshThread([] {
        {
            tv::ComScope com;
            EXPECT_EQ(com.result(), S_OK);
        }
        // Gone with the scope: the thread may now choose the other model.
        HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(hr, S_OK);
        if (SUCCEEDED(hr)) CoUninitialize();
        {
            tv::OleScope ole;
            EXPECT_EQ(ole.result(), S_OK);
        }
        hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(hr, S_OK);
        if (SUCCEEDED(hr)) CoUninitialize();
    });
}

TEST(GdiOwners, SelectedObjectPutsThePreviousOneBack) {
    tv::MemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    tv::GdiObject first(CreateFontW(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    tv::GdiObject second(CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    ASSERT_TRUE(first && second);
    tv::SelectedObject outer(dc.get(), first.get());
    ASSERT_TRUE(outer.ok());
    {
        tv::SelectedObject inner(dc.get(), second.get());
        EXPECT_TRUE(inner.ok());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), second.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), first.get());
    {
        tv::SelectedObject nothing(dc.get(), nullptr);  // selects nothing, so puts nothing back
        EXPECT_FALSE(nothing.ok());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), first.get());
}

TEST(RegistryOwner, ClosesTheKeyItHeld) {
    tv::RegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    HKEY raw = key.get();
    tv::RegKey moved(std::move(key));
    EXPECT_FALSE(key);
    EXPECT_EQ(moved.get(), raw);
    moved.reset();
    // The handle is no longer open: a query through it fails as for any closed key.
    DWORD subKeys = 0;
    EXPECT_NE(RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(BstrOwner, KeepsTheWholeText) {
    tv::Bstr withZero(std::wstring(L"a\0b", 3));
    EXPECT_EQ(SysStringLen(withZero.get()), 3u);
    EXPECT_EQ(withZero.text(), std::wstring(L"a\0b", 3));
    EXPECT_EQ(tv::Bstr().text(), L"");  // a method that gave nothing back
}

}  // namespace
