// The module start, apart from the host so that the host's tests need not
// link the main dialog.
#include "applet/ControlPanel.h"
#include "dialogs/main/BXMain.h"
#include "settings/RegSpecial.h"

namespace bx {

void ModuleStart(std::uintptr_t icon) {
  CheckEnvironment();
  RegisterApplets(icon, [](std::uintptr_t parentWindow) -> std::unique_ptr<TForm> {
    return std::make_unique<TFrmBXMain>(parentWindow);
  });
}

}  // namespace bx
