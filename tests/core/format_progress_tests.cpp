#include <gtest/gtest.h>

#include "playback/format_progress.h"

namespace {

TEST(FormatProgressTest, ShowsMinutesAndSecondsOfPositionAndLength)
{
    const struct {
        int position;
        int length;
        const wchar_t* text;
    } cases[] = {
        {0, 0, L"00:00 / 00:00"},
        {999, 1999, L"00:00 / 00:01"},
        {61000, (62 * 60 + 3) * 1000, L"01:01 / 62:03"},
        {59999, 60000, L"00:59 / 01:00"},
        {0, 100 * 60 * 1000, L"00:00 / 100:00"},
        {-5000, 0, L"00:-5 / 00:00"},
        {-61000, -999, L"-1:-1 / 00:00"},
        {2147483647, 0, L"35791:23 / 00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " / " << c.length);
        EXPECT_EQ(FormatProgress(c.position, c.length), c.text);
    }
}

}  // namespace
