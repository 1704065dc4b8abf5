// The launcher with the real shell of the test prefix: documents of a type the test registers
// start their program, the registry reads of the web-page open, the administrator test, and
// the 64-bit link opener as a process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/folders.h"
#include "app/shell_links.h"
#include "base/file_util.h"
#include "base/handles.h"
#include "base/process_services.h"
#include "base/strings.h"
#include "base/text_file.h"
#include "capture/path_resolution.h"
#include "replay/item_launcher.h"
#include "replay/run_as_admin.h"
#include "support/test_support.h"

using namespace tv;
using namespace tvtest;

namespace {

// A copy of the note-taking program in a folder of the test's own, so its notes land there.
class WithNoteTaker : public ::testing::Test {
protected:
    void SetUp() override {
        program = work.file(L"start_note.exe");
        ASSERT_TRUE(CopyFileW((ExeFolder() + L"\\start_note.exe").c_str(), program.c_str(), FALSE));
    }
    // The lines the program has noted, one a start.
    std::wstring Notes() const { return DecodeText("\xFF\xFE" + ReadAll(work.file(L"starts.txt"))); }

    TempFolder work;
    ComScope com;
    std::wstring program;
};

// A string value under HKEY_LOCAL_MACHINE set for the test and put back as it was.
class ScopedMachineValue {
public:
    ScopedMachineValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
        : key_(key), name_(name ? name : L"") {
        RegKey k;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(),
                            &disposition_) != ERROR_SUCCESS)
            return;
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(k.get(), name, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS) {
            old_.resize(bytes);
            oldType_ = type;
            RegQueryValueExW(k.get(), name, nullptr, &type, old_.empty() ? nullptr : reinterpret_cast<BYTE*>(&old_[0]),
                             &bytes);
            hadValue_ = true;
        }
        set_ = RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~ScopedMachineValue() {
        if (disposition_ == REG_CREATED_NEW_KEY) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str());
            return;
        }
        RegKey k;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, k.put()) != ERROR_SUCCESS) return;
        const wchar_t* name = name_.empty() ? nullptr : name_.c_str();
        if (hadValue_)
            RegSetValueExW(k.get(), name, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                           static_cast<DWORD>(old_.size()));
        else
            RegDeleteValueW(k.get(), name);
    }
    bool set() const { return set_; }

private:
    std::wstring key_, name_;
    std::string old_;
    DWORD oldType_ = REG_SZ, disposition_ = 0;
    bool hadValue_ = false, set_ = false;
};

class RealLauncher : public WithNoteTaker {
protected:
    RealLauncher() {
        context.versionName = L"windows 7";
        context.programFolder = ExeFolder() + L"\\";
        context.dataFolder = work.file(L"TolVane");
    }
    ItemLauncher Launcher() { return ItemLauncher(RealShellCalls(), ProcessServices::Instance(), machine, context); }

    RealResolutionMachine machine;
    LauncherContext context;
};

TEST_F(RealLauncher, DocumentOfARegisteredTypeStartsItsProgramWithTheDocument) {
    ScopedClasses classes;
    classes.Set(L".tvlaunchtest", L"TolvaneLaunchTest.Document");
    classes.Set(L"TolvaneLaunchTest.Document\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
    CreateFolderTree(work.file(L"My Files"));
    std::wstring document = work.file(L"My Files\\plan.tvlaunchtest");
    ASSERT_TRUE(WriteAll(document, "x"));

    // Stored with "%20" for the blank, as some sources hand paths over.
    EXPECT_TRUE(Launcher().OpenItem(ReplaceAll(document, L" ", L"%20")));
    ASSERT_TRUE(WaitUntil([&] { return !Notes().empty(); })) << "the program did not start";
    EXPECT_NE(Notes().find(document), std::wstring::npos) << Notes();
}

TEST_F(RealLauncher, RegistryReadsOfTheWebPageOpen) {
    {
        ScopedMachineValue command(L"Software\\Classes\\http\\shell\\open\\command", nullptr,
                                   L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome");
        ASSERT_TRUE(command.set());
        EXPECT_EQ(RealShellCalls().BrowserCommand(), L"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome");
    }
    ScopedMachineValue ie(L"Software\\Microsoft\\Internet Explorer\\Version Vector", L"IE", L"6.0000");
    ASSERT_TRUE(ie.set());
    std::wstring version;
    EXPECT_TRUE(RealShellCalls().InternetExplorerVersion(version));
    EXPECT_EQ(version, L"6.0000");
}

TEST_F(RealLauncher, ContextOfTheRunningProgram) {
    std::wstring system = RealShellCalls().SystemFolder();
    EXPECT_TRUE(DirectoryExists(system)) << system;
    EXPECT_NE(system.back(), L'\\');

    int helps = 0;
    LauncherContext program = ProgramLauncherContext(nullptr, [&helps] { ++helps; });
    EXPECT_TRUE(FileExists(program.programFolder + L"replay_tests.exe")) << program.programFolder;
    EXPECT_EQ(program.dataFolder, DataFolder());
    EXPECT_TRUE(DirectoryExists(program.myDocuments)) << program.myDocuments;
    ASSERT_TRUE(program.showHelp);
    program.showHelp();
    EXPECT_EQ(helps, 1);
}

TEST(RealAdministratorTest, AgreesWithTheTokensMembership) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                         0, 0, &admins));
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, admins, &member));
    FreeSid(admins);
    TRunAsAdmin admin(RealShellCalls());
    EXPECT_EQ(admin.IsAdministrator(), member != FALSE);
    EXPECT_EQ(IsRunningAsAdmin(), member != FALSE);
}

// The link opener as the launcher starts it: no parameters, the hand-off file in the data
// folder of the user.
class LinkOpener : public WithNoteTaker {
protected:
    long Run() {
        Process opener;
        if (!opener.Start(ExeFolder() + L"\\" + kOpen64LinkProgram, L"")) return -2;
        return opener.Wait(60000);
    }
    std::wstring HandOffFile() const { return folders.dataFolder() + L"\\" + kOpen64LinkFileName; }

    ScopedDataFolders folders;
};

TEST_F(LinkOpener, OpensTheShortcutNamedInTheHandOffFile) {
    std::wstring link = work.file(L"Note taker.lnk");
    ASSERT_TRUE(CreateShortcut(link, program, work.path()));
    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    ASSERT_TRUE(WriteTextLines(HandOffFile(), {link}));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(WaitUntil([&] { return !Notes().empty(); })) << "the shortcut was not opened";
}

TEST_F(LinkOpener, OpensNothingForAMissingOrGarbledFile) {
    EXPECT_EQ(Run(), 1);  // no data folder, no file

    ASSERT_TRUE(CreateFolderTree(folders.dataFolder()));
    const std::string garbled[] = {std::string("\xFF\xFE\x00\xD8", 4), std::string(200000, '\x01'),
                                   "\xFF\xFE" + Utf16(program + L"\r\n"),  // a program, not a shortcut
                                   "\xFF\xFE" + Utf16(work.file(L"missing.lnk") + L"\r\n")};
    for (const std::string& bytes : garbled) {
        ASSERT_TRUE(WriteAll(HandOffFile(), bytes));
        EXPECT_EQ(Run(), 2) << bytes.size();
    }
    EXPECT_EQ(Notes(), L"");
}

}  // namespace
