#include "platform/win32/WinCommonDialogs.h"

#include <array>

#include "platform/win32/WinApi.h"

namespace bx {
namespace {

class TWinCommonDialogs : public ICommonDialogs {
 public:
  bool PickColor(TColorDialogRequest& request) override {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    // Without an owner of its own the dialog is modal over the active window.
    choose.hwndOwner = request.Owner ? reinterpret_cast<HWND>(request.Owner) : GetActiveWindow();
    choose.rgbResult = request.Color;
    // The custom colours live as long as the module, as the dialog expects.
    choose.lpCustColors = FCustomColors.data();
    choose.Flags = CC_RGBINIT | (request.FullOpen ? CC_FULLOPEN : 0);
    if (!ChooseColorW(&choose)) return false;
    request.Color = choose.rgbResult;
    return true;
  }

  bool BrowseForFolder(const TFolderBrowseRequest& request, const TFolderBrowseEvents& events,
                       TFolderBrowseResult& result) override {
    return WinBrowseForFolder(request, events, result);
  }

  bool OpenFile(const TOpenFileRequest& request, std::string& fileName) override {
    return WinOpenFile(request, fileName);
  }

 private:
  std::array<COLORREF, 16> FCustomColors{};
};

}  // namespace

ICommonDialogs& WinCommonDialogs() {
  static TWinCommonDialogs dialogs;
  return dialogs;
}

}  // namespace bx
