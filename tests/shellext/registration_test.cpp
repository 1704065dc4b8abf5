// Registration through Wine's regsvr32, read back from the registry, and the type library the
// library carries.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "base/strings.h"
#include "shellext/menu_client.h"

using namespace tvtest;
using namespace tvtest::menu;

namespace {

const std::wstring kClsidKey = std::wstring(L"CLSID\\") + kClsidText;
const std::wstring kProgId = L"TolvaneMenuDLL.MyContextMenu";
const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + kLibIdText + L"\\1.0";

struct ClassesSnapshot {
    std::set<std::wstring> top, clsids, typeLibs;
    static ClassesSnapshot Take() {
        return {SubkeyNames(L""), SubkeyNames(L"CLSID"), SubkeyNames(L"TypeLib")};
    }
};

std::set<std::wstring> Added(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
    std::set<std::wstring> added;
    for (const auto& name : after)
        if (!before.count(tv::ToLower(name)) && !before.count(name)) added.insert(name);
    return added;
}

std::wstring ShortPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH] = {};
    DWORD n = GetShortPathNameW(path.c_str(), buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buf) : std::wstring();
}

}  // namespace

TEST(MenuLibraryRegistration, WritesEveryEntryAndRemovesThemAllAgain) {
    LibraryFolder library;
    const ClassesSnapshot before = ClassesSnapshot::Take();
    ASSERT_EQ(RunRegsvr32(library.dll(), false), 0);

    bool found = false;
    EXPECT_EQ(RegString(kClsidKey, nullptr, &found), L"");
    EXPECT_TRUE(found) << "the description is an empty default value";
    // The folder's name holds a blank, so the short form is registered.
    std::wstring server = RegString(kClsidKey + L"\\InprocServer32", nullptr);
    EXPECT_EQ(server, ShortPath(library.dll()));
    EXPECT_EQ(server.find(L' '), std::wstring::npos);
    EXPECT_EQ(RegString(kClsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(RegString(kClsidKey + L"\\ProgID", nullptr), kProgId);
    EXPECT_EQ(RegString(kProgId, nullptr, &found), L"");
    EXPECT_TRUE(found);
    EXPECT_EQ(RegString(kProgId + L"\\Clsid", nullptr), kClsidText);

    // The type library, registered from the library's own file.
    EXPECT_EQ(RegString(kTypeLibKey, nullptr), L"TolvaneMenuDLL Library");
#ifdef _WIN64
    std::wstring typeLibFile = RegString(kTypeLibKey + L"\\0\\win64", nullptr);
#else
    std::wstring typeLibFile = RegString(kTypeLibKey + L"\\0\\win32", nullptr);
#endif
    EXPECT_TRUE(tv::EqualsNoCase(typeLibFile, library.dll()) ||
                tv::EqualsNoCase(typeLibFile, ShortPath(library.dll())))
        << typeLibFile;

    // Nothing but the three new keys.
    const ClassesSnapshot registered = ClassesSnapshot::Take();
    EXPECT_EQ(Added(before.top, registered.top), std::set<std::wstring>{kProgId});
    EXPECT_EQ(Added(before.clsids, registered.clsids), std::set<std::wstring>{kClsidText});
    EXPECT_EQ(Added(before.typeLibs, registered.typeLibs), std::set<std::wstring>{kLibIdText});

    ASSERT_EQ(RunRegsvr32(library.dll(), true), 0);
    for (const auto& key : {kClsidKey + L"\\ProgID", kProgId + L"\\Clsid", kProgId,
                            kClsidKey + L"\\InprocServer32", kClsidKey, kTypeLibKey})
        EXPECT_FALSE(RegKeyExists(key)) << key;
    const ClassesSnapshot after = ClassesSnapshot::Take();
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.clsids, before.clsids);
    EXPECT_EQ(after.typeLibs, before.typeLibs);

    // Unregistering what is not registered is no failure.
    EXPECT_EQ(RunRegsvr32(library.dll(), true), 0);
}

TEST(MenuLibraryRegistration, APathWithoutBlanksIsRegisteredAsItIs) {
    TempFolder folder;
    std::wstring dll = folder.file(kLibraryName);
    ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\" + kLibraryName).c_str(), dll.c_str(), FALSE));
    ASSERT_EQ(RunRegsvr32(dll, false), 0);
    EXPECT_TRUE(tv::EqualsNoCase(RegString(kClsidKey + L"\\InprocServer32", nullptr), dll));
    EXPECT_EQ(RunRegsvr32(dll, true), 0);
    EXPECT_FALSE(RegKeyExists(kClsidKey));
}

TEST(MenuLibraryRegistration, CarriesItsTypeLibraryWithNoTypes) {
    ITypeLib* lib = nullptr;
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx((ExeFolder() + L"\\" + kLibraryName).c_str(), REGKIND_NONE, &lib));
    BSTR name = nullptr, help = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    EXPECT_STREQ(name, L"TolvaneMenuDLL");
    EXPECT_STREQ(help, L"TolvaneMenuDLL Library");
    SysFreeString(name);
    SysFreeString(help);
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
    wchar_t guid[40] = {};
    StringFromGUID2(attr->guid, guid, 40);
    EXPECT_STREQ(guid, kLibIdText);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
#ifdef _WIN64
    EXPECT_EQ(attr->syskind, SYS_WIN64);
#else
    EXPECT_EQ(attr->syskind, SYS_WIN32);
#endif
    lib->ReleaseTLibAttr(attr);
    EXPECT_EQ(lib->GetTypeInfoCount(), 0u);
    lib->Release();
}
