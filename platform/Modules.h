// The running program and this module as files: their names and icons.
#pragma once

#include <cstdint>
#include <string>

namespace bx {

class TPixelBuffer;

class IModules {
 public:
  virtual ~IModules() = default;
  // The full path of the running program's executable.
  virtual std::string ProgramFileName() = 0;
  // The full path of this module's own file (Bexora.cpl inside the host).
  virtual std::string ModuleFileName() = 0;
  // The first icon of a file (ExtractIcon, index 0) at the system's icon
  // size over the colour `background`; false when the file has none.
  virtual bool ExtractIcon(const std::string& fileName, std::uint32_t background,
                           TPixelBuffer& icon) = 0;
  // This module's own icon (the resource MAINICON), as ExtractIcon draws it.
  virtual bool ApplicationIcon(std::uint32_t background, TPixelBuffer& icon) = 0;
};

}  // namespace bx
