#pragma once
#include <string>

// The command strings the player sends to the media service. The one open
// track always goes by the alias "mp3".
inline constexpr wchar_t kCloseCommand[] = L"close mp3";
inline constexpr wchar_t kSetTimeFormatCommand[] = L"set mp3 time format milliseconds";
inline constexpr wchar_t kPlayCommand[] = L"play mp3 notify";
inline constexpr wchar_t kPauseCommand[] = L"pause mp3";
inline constexpr wchar_t kResumeCommand[] = L"resume mp3";
inline constexpr wchar_t kStopCommand[] = L"stop mp3";
inline constexpr wchar_t kPositionQuery[] = L"status mp3 position";
inline constexpr wchar_t kLengthQuery[] = L"status mp3 length";

// Room for a status reply, in characters.
inline constexpr unsigned kStatusReplyLength = 128;

// open "PATH" type mpegvideo alias mp3
std::wstring OpenCommand(const std::wstring& path);
