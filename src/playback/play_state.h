#pragma once
#include <cstdint>
#include <string>

enum PlayState : std::int32_t {
    Stopped = 0,
    Playing = 1,
    Paused = 2,
};

extern PlayState playState;
// Full path of the track last opened; Stop leaves it as it was.
extern std::wstring currentTrack;
