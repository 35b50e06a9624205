#pragma once
#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameW, with the common dialogs loaded on first use.
BOOL ShowOpenDialog(OPENFILENAMEW& dialog);
