// The player as a user gets it: unpacked from the release zip into a fresh
// folder (the test that runs first does that), started there and closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/e2e_fixture.h"
#include "support/files.h"

namespace {

TEST(ReleaseZipTest, TheUnpackedPlayerStartsClosesCleanlyAndLeavesAnEmptyPlaylistBesideIt)
{
    const std::wstring folder = WithBackslashes(LIROTUNE_RELEASE);
    const std::wstring playlist = folder + L"\\playlist.txt";
    ASSERT_FALSE(FileExists(playlist)) << "the zip holds no playlist";
    PlayerProcess player(folder + L"\\lirotune.exe");
    EXPECT_TRUE(player.Rows().empty());
    EXPECT_EQ(player.Close(), 0u);
    ASSERT_TRUE(FileExists(playlist));
    EXPECT_EQ(ReadBytes(playlist), "");
}

}  // namespace
