// TOpenPictureDialog: the system's file-open dialog with a pane that
// previews the selected picture.
#pragma once

#include <cstdint>
#include <string>

#include "platform/CommonDialogs.h"
#include "ui/Form.h"

namespace bx {

class TOpenPictureDialog : public TObject {
 public:
  explicit TOpenPictureDialog(TForm* owner = nullptr) : FOwner(owner) {}

  std::string Title;
  // Pairs of description and masks, all separated by "|".
  std::string Filter;
  int FilterIndex = 1;  // the pair selected when the dialog opens, from 1
  std::string InitialDir;
  // Before running: the file to show first; after: the chosen file.
  std::string FileName;
  std::uint32_t Options = kOfnHideReadOnly | kOfnEnableSizing;  // kOfn* flags
  std::uint32_t OptionsEx = 0;

  // Runs the dialog modally; true when the user chose a file.
  bool Execute();

 private:
  TForm* FOwner;
};

}  // namespace bx
