#include "base/file_util.h"

#include <windows.h>

#include <algorithm>

#include "base/handles.h"

namespace tv {

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderTree(const std::wstring& path) {
    if (path.empty()) return false;
    std::wstring dir = path;
    while (dir.size() > 3 && dir.back() == L'\\') dir.pop_back();
    if (dir.size() < 3 || DirectoryExists(dir)) return true;
    size_t cut = dir.find_last_of(L"\\:");
    if (cut != std::wstring::npos && cut > 0) {
        std::wstring parent = dir.substr(0, cut);
        if (dir[cut] == L':') parent = dir.substr(0, cut + 1);
        if (parent != dir && !CreateFolderTree(parent)) return false;
    }
    return CreateDirectoryW(dir.c_str(), nullptr) || DirectoryExists(dir);
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    UniqueHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid()) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(f.get(), &bytes[done], want, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool WriteFileAtomic(const std::wstring& path, const std::string& bytes) {
    std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
    {
        UniqueHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f.valid()) return false;
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD put = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            if (!WriteFile(f.get(), bytes.data() + done, want, &put, nullptr) || put == 0) {
                f.reset();
                DeleteFileW(temp.c_str());
                return false;
            }
            done += put;
        }
        if (!FlushFileBuffers(f.get())) {
            f.reset();
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring ModulePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

}  // namespace tv
