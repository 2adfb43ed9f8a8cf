// The Windows common dialogs: ChooseColorW, SHBrowseForFolderW with its
// callback, and GetOpenFileNameW in explorer style with a picture preview
// pane of ours.
#pragma once

#include "platform/CommonDialogs.h"

namespace bx {

ICommonDialogs& WinCommonDialogs();

// The two halves, one source file each.
bool WinBrowseForFolder(const TFolderBrowseRequest& request, const TFolderBrowseEvents& events,
                        TFolderBrowseResult& result);
bool WinOpenFile(const TOpenFileRequest& request, std::string& fileName);

}  // namespace bx
