#pragma once
#include <string>

// The running executable's full path, however long (up to the 32,767
// characters a Windows path may hold); empty if it cannot be had.
std::wstring ExecutablePath();
