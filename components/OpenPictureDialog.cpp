#include "components/OpenPictureDialog.h"

#include <utility>

#include "components/PicturePreview.h"
#include "platform/Platform.h"

namespace bx {

bool TOpenPictureDialog::Execute() {
  ICommonDialogs* dialogs = Platform().Dialogs;
  if (!dialogs) return false;
  TOpenFileRequest request;
  request.Owner = FOwner ? FOwner->Handle : 0;
  request.Title = Title;
  // "desc|masks|desc|masks": a description without its masks is dropped.
  for (std::size_t start = 0; start < Filter.size();) {
    const std::size_t bar = Filter.find('|', start);
    if (bar == std::string::npos) break;
    std::size_t next = Filter.find('|', bar + 1);
    if (next == std::string::npos) next = Filter.size();
    request.Filter.emplace_back(Filter.substr(start, bar - start),
                                Filter.substr(bar + 1, next - bar - 1));
    start = next + 1;
  }
  request.FilterIndex = FilterIndex;
  request.InitialDir = InitialDir;
  request.FileName = FileName;
  request.Flags = Options;
  request.FlagsEx = OptionsEx;
  request.PicturePreview = [](const std::string& fileName, int width, int height,
                              std::uint32_t background, TPixelBuffer& pixels, int& pictureWidth,
                              int& pictureHeight) {
    TPicturePreview preview;
    if (!MakePicturePreview(fileName, width, height, background, preview)) return false;
    pixels = std::move(preview.Pixels);
    pictureWidth = preview.Width;
    pictureHeight = preview.Height;
    return true;
  };
  std::string chosen;
  if (!dialogs->OpenFile(request, chosen)) return false;
  FileName = chosen;
  return true;
}

}  // namespace bx
