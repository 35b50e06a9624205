#pragma once
#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameW, with the common dialogs loaded on first use. The
// process keeps its current directory, wherever the user browsed.
BOOL ShowOpenDialog(OPENFILENAMEW& dialog);

// Why the last open dialog returned FALSE: 0 when the user cancelled it,
// else a CommDlgExtendedError code such as FNERR_BUFFERTOOSMALL.
DWORD OpenDialogError();
