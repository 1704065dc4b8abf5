#include "app/settings_store.h"

#include <gtest/gtest.h>

#include "app/folders.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "support/test_support.h"

using namespace tv;

TEST(ProfileValues, IntegersReadDecimalAndHexadecimalForms) {
    EXPECT_EQ(ParseProfileInteger(L"42", 7), 42);
    EXPECT_EQ(ParseProfileInteger(L"-5", 7), -5);
    EXPECT_EQ(ParseProfileInteger(L"0x10", 7), 16);
    EXPECT_EQ(ParseProfileInteger(L"0X1f", 7), 31);
    EXPECT_EQ(ParseProfileInteger(L"$FF", 7), 255);
    EXPECT_EQ(ParseProfileInteger(L"$FFFFFFFF", 7), -1);
    EXPECT_EQ(ParseProfileInteger(L"2147483647", 7), 2147483647);
    EXPECT_EQ(ParseProfileInteger(L"-2147483648", 7), -2147483647 - 1);
}

TEST(ProfileValues, AnythingElseGivesTheDefault) {
    for (const wchar_t* bad : {L"", L"yes", L"12a", L"0x", L"$", L"1.5", L"-", L"2147483648",
                               L"0x100000000", L"99999999999999999999"})
        EXPECT_EQ(ParseProfileInteger(bad, 7), 7) << bad;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    tvtest::TempFolder dir;
    SettingsStore store{dir.file(L"defualt.ini")};
    void Raw(const char* section, const char* key, const char* value) {
        ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, ToAnsi(store.path()).c_str()));
    }
};

TEST_F(SettingsStoreTest, MissingFileAndKeysGiveDefaults) {
    EXPECT_EQ(store.ReadString(L"default", L"EdtRECPath", L"C:\\x\\"), L"C:\\x\\");
    EXPECT_EQ(store.ReadInteger(L"default", L"tbRecordInterval", 7), 7);
    EXPECT_TRUE(store.ReadBool(L"default", L"CbRecrodRecentDocument", true));
    EXPECT_FALSE(store.ReadBool(L"default", L"Alwaysontop1", false));
    EXPECT_FALSE(tv::FileExists(store.path()));  // reading creates nothing
}

TEST_F(SettingsStoreTest, BooleansAreIntegersAndMalformedValuesGiveTheDefault) {
    Raw("default", "two", "2");
    Raw("default", "yes", "yes");
    Raw("default", "zero", "0");
    Raw("default", "hex", "0x10");
    EXPECT_TRUE(store.ReadBool(L"default", L"two", false));
    EXPECT_FALSE(store.ReadBool(L"default", L"yes", false));
    EXPECT_TRUE(store.ReadBool(L"default", L"yes", true));
    EXPECT_FALSE(store.ReadBool(L"default", L"zero", true));
    EXPECT_EQ(store.ReadInteger(L"default", L"hex", 0), 16);
    EXPECT_EQ(store.ReadInteger(L"default", L"yes", 60), 60);
}

TEST_F(SettingsStoreTest, AnEmptyStoredTextIsNotTheDefault) {
    Raw("default", "EdtAction", "");
    EXPECT_EQ(store.ReadString(L"default", L"EdtAction", L"fallback"), L"");
}

TEST_F(SettingsStoreTest, WrittenValuesReadBackThroughTheAnsiProfileApi) {
    store.WriteString(L"default", L"EdtRECPath", L"C:\\Records\\");
    store.WriteInteger(L"default", L"Left", -12);
    store.WriteBool(L"default", L"MenuBar1", true);
    store.WriteBool(L"default", L"StatusBar1", false);
    store.WriteInteger(L"install", L"PinToTaskBar", 2);
    char buf[256];
    std::string file = ToAnsi(store.path());
    auto get = [&](const char* section, const char* key) {
        GetPrivateProfileStringA(section, key, "?", buf, sizeof(buf), file.c_str());
        return std::string(buf);
    };
    EXPECT_EQ(get("default", "EdtRECPath"), "C:\\Records\\");
    EXPECT_EQ(get("default", "Left"), "-12");
    EXPECT_EQ(get("default", "MenuBar1"), "1");
    EXPECT_EQ(get("default", "StatusBar1"), "0");
    EXPECT_EQ(get("install", "PinToTaskBar"), "2");
    // The file is plain ANSI text: no UTF-16 mark.
    std::string bytes = tvtest::ReadAll(store.path());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_NE(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

TEST_F(SettingsStoreTest, TextOutsideTheCodePageIsStoredWithTheSubstitute) {
    store.WriteString(L"default", L"EdtRECPath", L"C:\\日記\\");
    std::wstring back = store.ReadString(L"default", L"EdtRECPath", L"");
    EXPECT_EQ(back.size(), 6u);
    EXPECT_EQ(back.substr(0, 3), L"C:\\");
    EXPECT_NE(back, L"C:\\日記\\");
}

TEST_F(SettingsStoreTest, LongValuesAreCutAt2047Characters) {
    store.WriteString(L"default", L"EdtAction", std::wstring(3000, L'a'));
    EXPECT_EQ(store.ReadString(L"default", L"EdtAction", L"").size(), 2047u);
}

TEST(SettingsStore, AFailedWriteRaisesUnableToWrite) {
    tvtest::TempFolder dir;
    std::wstring path = dir.file(L"missing folder\\defualt.ini");
    SettingsStore store(path);
    try {
        store.WriteInteger(L"default", L"Width", 520);
        FAIL() << "no error raised";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + ToAnsi(path));
        EXPECT_EQ(e.path(), path);
    }
}

TEST(SettingsFiles, OpenCreatesBothFoldersAndNamesTheFilesDefualtIni) {
    tvtest::ScopedDataFolders folders;
    Settings s = OpenSettingsFiles();
    EXPECT_TRUE(EqualsNoCase(s.user->path(), folders.dataFolder() + L"\\defualt.ini"));
    EXPECT_TRUE(EqualsNoCase(s.common->path(), folders.commonFolder() + L"\\defualt.ini"));
    EXPECT_TRUE(DirectoryExists(folders.dataFolder()));
    EXPECT_TRUE(DirectoryExists(folders.commonFolder()));
    EXPECT_TRUE(EqualsNoCase(DefaultRecordFolder(), folders.dataFolder() + L"\\"));
    s.user->WriteInteger(L"default", L"Width", 600);
    EXPECT_EQ(s.user->ReadInteger(L"default", L"Width", 0), 600);
    EXPECT_FALSE(s.common->ReadBool(L"default", L"AlwaysRunAsAdmin", false));
}
