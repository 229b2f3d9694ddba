// SPDX-License-Identifier: MIT
#pragma once

// The Win32 headers of the desktop front, in one place. The core names its
// message box, dialog and file dialog constants and several members after
// the Win32 ones (with the same values), which windows.h defines as macros:
// those macros go, so the core's names stand whatever the include order.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#undef MessageBox
#undef GetWindowText
#undef SetWindowText
#undef WinHelp
#undef GetProfileString
#undef WriteProfileString

#undef MB_OK
#undef MB_YESNOCANCEL
#undef MB_YESNO
#undef MB_ICONEXCLAMATION
#undef MB_ICONINFORMATION
#undef MB_DEFBUTTON2
#undef IDOK
#undef IDCANCEL
#undef IDYES
#undef IDNO

#undef BS_DEFPUSHBUTTON
#undef LBS_NOTIFY
#undef LBS_SORT
#undef CBS_DROPDOWN
#undef CBS_DROPDOWNLIST
#undef ES_AUTOHSCROLL
#undef LBS_NOINTEGRALHEIGHT
#undef CBS_SORT
#undef ES_READONLY
#undef ES_NUMBER
#undef WS_TABSTOP
#undef WS_GROUP
#undef WS_VSCROLL
#undef WS_BORDER
#undef WS_DISABLED
#undef IDC_STATIC

#undef OFN_OVERWRITEPROMPT
#undef OFN_HIDEREADONLY
#undef OFN_PATHMUSTEXIST
#undef OFN_FILEMUSTEXIST
#undef OFN_CREATEPROMPT

#undef HELP_CONTEXT
#undef HELP_CONTENTS
#undef HELP_HELPONHELP
#undef HELP_FINDER
#undef HELP_POPUP

#undef FVIRTKEY
#undef FNOINVERT
#undef FSHIFT
#undef FCONTROL
