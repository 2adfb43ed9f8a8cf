// The platform's headers, included here and nowhere else, so that every
// file of the Windows side sees the same set and the same macros. The
// macros that would rename the project's own names are undone below; the
// Windows side calls the wide functions by their full names (DeleteFileW).
#pragma once

#include <windows.h>

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <cpl.h>
#include <oleacc.h>
#include <shlobj.h>
#include <shellapi.h>

// The services name their operations after the platform's calls they stand
// for; the A/W macros of those calls would rename the operations.
#undef DeleteFile           // IFileSystem::DeleteFile
#undef GetWindowsDirectory  // IFileSystem::GetWindowsDirectory
#undef SystemParametersInfo // ISystem::SystemParametersInfo
#undef TextOut              // TCanvas::TextOut
#undef ExtractIcon          // IModules::ExtractIcon

namespace bx {

// The signed client coordinates of a mouse message, as windowsx.h's
// GET_X_LPARAM and GET_Y_LPARAM give them (that header's many other macros
// are not wanted).
inline int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int MouseY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

}  // namespace bx
