#include "platform/win32/WinModules.h"

#include "gfx/PixelBuffer.h"
#include "platform/win32/Text.h"
#include "platform/win32/TopDownBitmap.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"

namespace bx {
namespace {

std::string FileNameOf(HMODULE module) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) return Narrow(name.substr(0, length));
    name.resize(name.size() * 2);  // cut: try a longer buffer
  }
}

// The icon at the system's icon size over `background`, as 32-bit pixels.
bool DrawIcon(HICON icon, std::uint32_t background, TPixelBuffer& picture) {
  const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool drawn = false;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    drawn = DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL) != 0;
    GdiFlush();
    if (drawn) {
      picture.SetSize(width, height);
      const auto* source = static_cast<const TPixel*>(bits);
      for (int y = 0; y < height; ++y) {
        TPixel* row = picture.Scanline(y);
        for (int x = 0; x < width; ++x) row[x] = source[y * width + x] & 0xFFFFFF;
      }
    }
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(dc);
  return drawn;
}

class TWinModules : public IModules {
 public:
  std::string ProgramFileName() override { return FileNameOf(nullptr); }
  std::string ModuleFileName() override { return FileNameOf(ResourceModule()); }

  bool ExtractIcon(const std::string& fileName, std::uint32_t background,
                   TPixelBuffer& icon) override {
    HICON handle = ExtractIconW(ResourceModule(), Widen(fileName).c_str(), 0);
    // 1: the file is no module, icon or cursor file.
    if (!handle || handle == reinterpret_cast<HICON>(1)) return false;
    const bool drawn = DrawIcon(handle, background, icon);
    DestroyIcon(handle);
    return drawn;
  }

  bool ApplicationIcon(std::uint32_t background, TPixelBuffer& icon) override {
    HICON handle = static_cast<HICON>(
        LoadImageW(ResourceModule(), L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), 0));
    if (!handle) return false;
    const bool drawn = DrawIcon(handle, background, icon);
    DestroyIcon(handle);
    return drawn;
  }
};

}  // namespace

IModules& WinModules() {
  static TWinModules modules;
  return modules;
}

}  // namespace bx
