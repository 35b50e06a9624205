#include "playback/media_commands.h"

std::wstring OpenCommand(const std::wstring& path)
{
    return L"open \"" + path + L"\" type mpegvideo alias mp3";
}
