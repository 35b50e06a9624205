#include "playback/format_progress.h"

#include <windows.h>

std::wstring FormatProgress(int positionMs, int lengthMs)
{
    const int positionSeconds = positionMs / 1000;
    const int lengthSeconds = lengthMs / 1000;
    // Four values of at most 8 characters each, with the separators, fit in
    // far less than wsprintfW's own 1024-character ceiling.
    wchar_t text[64];
    wsprintfW(text, L"%02d:%02d / %02d:%02d",
              positionSeconds / 60, positionSeconds % 60,
              lengthSeconds / 60, lengthSeconds % 60);
    return text;
}
