#include "base/file_util.h"

#include <gtest/gtest.h>

#include "base/redraw.h"
#include "support/test_support.h"


using namespace tv;

TEST(FileUtil, CreateFolderTreeMakesEveryMissingLevel) {
    tvtest::TempFolder dir;
    std::wstring deep = dir.path() + L"\\a\\b b\\ç\\d";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_TRUE(CreateFolderTree(deep + L"\\"));  // existing, with a trailing backslash
    EXPECT_FALSE(CreateFolderTree(L""));
    EXPECT_TRUE(CreateFolderTree(L"C:"));
}

TEST(FileUtil, CreateFolderTreeFailsWhereAFileBlocksThePath) {
    tvtest::TempFolder dir;
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"file"), "x"));
    EXPECT_FALSE(CreateFolderTree(dir.file(L"file\\sub")));
}

TEST(FileUtil, AtomicWriteReplacesContentAndKeepsTheOldFileOnFailure) {
    tvtest::TempFolder dir;
    std::wstring path = dir.file(L"record.bin");
    ASSERT_TRUE(WriteFileAtomic(path, std::string(100000, 'a')));
    ASSERT_TRUE(WriteFileAtomic(path, "short"));
    EXPECT_EQ(tvtest::ReadAll(path), "short");
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(DirectoryExists(path));

    // The target is held open without sharing: the replace fails and the old content stays.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileAtomic(path, "new"));
    CloseHandle(lock);
    EXPECT_EQ(tvtest::ReadAll(path), "short");
}

TEST(FileUtil, ReadRefusesFilesOverTheLimit) {
    tvtest::TempFolder dir;
    std::string bytes;
    ASSERT_TRUE(tvtest::WriteAll(dir.file(L"big"), std::string(2048, 'x')));
    EXPECT_FALSE(ReadFileBytes(dir.file(L"big"), bytes, 1024));
    EXPECT_TRUE(ReadFileBytes(dir.file(L"big"), bytes, 4096));
    EXPECT_EQ(bytes.size(), 2048u);
    EXPECT_FALSE(ReadFileBytes(dir.file(L"missing"), bytes));
}

TEST(RedrawSuspender, RepaintingResumesAlsoWhenTheWorkFails) {
    HWND tree = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(tree, nullptr);
    try {
        RedrawSuspender quiet(tree);
        // While suspended the control reports itself as not visible.
        EXPECT_FALSE(IsWindowVisible(tree));
        throw 1;
    } catch (int) {
    }
    EXPECT_TRUE(IsWindowVisible(tree));
    DestroyWindow(tree);
}
