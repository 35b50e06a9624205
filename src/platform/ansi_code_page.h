#pragma once
#include "platform/code_page.h"

// The system's ANSI code page (GetACP), as Notepad's "ANSI" and Windows' own
// tools write it, read and written by Windows' own conversions. A system
// whose ANSI code page is UTF-8 (a Windows option) has none: such a line is
// not UTF-8, so it keeps one character a byte.
const AnsiCodePage& SystemAnsiCodePage();
// The console's code page (GetOEMCP), in which cmd writes what it prints
// into a file.
const AnsiCodePage& OemCodePage();
// Any code page Windows has, whatever the system's own.
AnsiCodePage WindowsCodePage(unsigned codePage);
