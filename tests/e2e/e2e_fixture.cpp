#include "e2e/e2e_fixture.h"

#include <windows.h>

#include <stdexcept>

#include "support/files.h"

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::wstring WithBackslashes(std::wstring path)
{
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::string Bytes(const std::wstring& path)
{
    std::string bytes;
    for (wchar_t c : path)
        bytes += static_cast<char>(c);
    return bytes;
}

void PlayerTest::SetUp()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::wstring(temp) + L"lirotune-" + std::to_wstring(GetCurrentProcessId());
    for (const char* c = test->name(); *c; ++c)
        folder_ += static_cast<wchar_t>(*c);
    RemoveTree(folder_);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
}

void PlayerTest::TearDown()
{
    player_.reset();
    RemoveTree(folder_);
}

std::wstring PlayerTest::Track(const std::wstring& name)
{
    return WithBackslashes(std::wstring(LIROTUNE_MEDIA) + L"/" + name);
}

void PlayerTest::WritePlaylist(const std::string& bytes) const
{
    WriteBytes(PlaylistFile(), bytes);
}

std::string PlayerTest::SavedPlaylist() const
{
    return FileExists(PlaylistFile()) ? ReadBytes(PlaylistFile()) : "<no file>";
}

PlayerProcess& PlayerTest::Start(std::chrono::milliseconds timeout)
{
    const std::wstring exe = folder_ + L"\\lirotune.exe";
    if (!CopyFileW(WithBackslashes(LIROTUNE_PLAYER).c_str(), exe.c_str(), FALSE))
        throw std::runtime_error("cannot copy the player into its test folder");
    player_ = std::make_unique<PlayerProcess>(exe, timeout);
    return *player_;
}
