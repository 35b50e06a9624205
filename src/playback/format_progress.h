#pragma once
#include <string>

// "MM:SS / MM:SS" for the position and the length, both in milliseconds.
// Minutes are never folded into hours; negative values keep their sign.
std::wstring FormatProgress(int positionMs, int lengthMs);
