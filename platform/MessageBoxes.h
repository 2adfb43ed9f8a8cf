// Modal message boxes.
#pragma once

#include <string>
#include <vector>

namespace bx {

enum class TMsgDlgType { mtInformation, mtConfirmation, mtError };
enum class TMsgDlgBtn { mbOK, mbYes, mbCancel, mbYesToAll };
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // The button chosen; mbCancel for Esc and the close box.
  virtual TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type,
                                const TMsgDlgButtons& buttons) = 0;
  // A plain box for the module's start, before any dialog exists.
  virtual void SimpleMessage(const std::string& text) = 0;
};

}  // namespace bx
