#include "app/settings_store.h"

#include <gtest/gtest.h>

#include "app/folders.h"
#include "base/file_util.h"
#include "base/strings.h"
#include "support/test_support.h"
#include "app/settings_keys.h"

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
    EXPECT_EQ(store.ReadString(keys::kDefault, keys::kRecordPath, L"C:\\x\\"), L"C:\\x\\");
    EXPECT_EQ(store.ReadInteger(keys::kDefault, keys::kRecordInterval, 7), 7);
    EXPECT_TRUE(store.ReadBool(keys::kDefault, keys::kRecordRecentDocuments, true));
    EXPECT_FALSE(store.ReadBool(keys::kDefault, keys::kAlwaysOnTop, false));
    EXPECT_FALSE(tv::FileExists(store.path()));  // reading creates nothing
}

TEST_F(SettingsStoreTest, BooleansAreIntegersAndMalformedValuesGiveTheDefault) {
    Raw("default", "two", "2");
    Raw("default", "yes", "yes");
    Raw("default", "zero", "0");
    Raw("default", "hex", "0x10");
    EXPECT_TRUE(store.ReadBool(keys::kDefault, L"two", false));
    EXPECT_FALSE(store.ReadBool(keys::kDefault, L"yes", false));
    EXPECT_TRUE(store.ReadBool(keys::kDefault, L"yes", true));
    EXPECT_FALSE(store.ReadBool(keys::kDefault, L"zero", true));
    EXPECT_EQ(store.ReadInteger(keys::kDefault, L"hex", 0), 16);
    EXPECT_EQ(store.ReadInteger(keys::kDefault, L"yes", 60), 60);
}

TEST_F(SettingsStoreTest, AnEmptyStoredTextIsNotTheDefault) {
    Raw("default", "EdtAction", "");
    EXPECT_EQ(store.ReadString(keys::kDefault, L"EdtAction", L"fallback"), L"");
}

TEST_F(SettingsStoreTest, WrittenValuesReadBackThroughTheAnsiProfileApi) {
    store.WriteString(keys::kDefault, keys::kRecordPath, L"C:\\Records\\");
    store.WriteInteger(keys::kDefault, keys::kLeft, -12);
    store.WriteBool(keys::kDefault, keys::kMenuBar, true);
    store.WriteBool(keys::kDefault, keys::kStatusBar, false);
    store.WriteInteger(keys::kInstall, keys::kPinToTaskBar, 2);
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
    store.WriteString(keys::kDefault, keys::kRecordPath, L"C:\\日記\\");
    std::wstring back = store.ReadString(keys::kDefault, keys::kRecordPath, L"");
    EXPECT_EQ(back.size(), 6u);
    EXPECT_EQ(back.substr(0, 3), L"C:\\");
    EXPECT_NE(back, L"C:\\日記\\");
}

TEST_F(SettingsStoreTest, LongValuesAreCutAt2047Characters) {
    store.WriteString(keys::kDefault, L"EdtAction", std::wstring(3000, L'a'));
    EXPECT_EQ(store.ReadString(keys::kDefault, L"EdtAction", L"").size(), 2047u);
}

TEST(SettingsStore, AFailedWriteRaisesUnableToWrite) {
    tvtest::TempFolder dir;
    std::wstring path = dir.file(L"missing folder\\defualt.ini");
    SettingsStore store(path);
    try {
        store.WriteInteger(keys::kDefault, keys::kWidth, 520);
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
    s.user->WriteInteger(keys::kDefault, keys::kWidth, 600);
    EXPECT_EQ(s.user->ReadInteger(keys::kDefault, keys::kWidth, 0), 600);
    EXPECT_FALSE(s.common->ReadBool(keys::kDefault, keys::kAlwaysRunAsAdmin, false));
}
