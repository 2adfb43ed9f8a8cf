// The bitmap description every pixel exchange with GDI uses: 32 bits per
// pixel, rows from the top down, as the pixel buffer keeps them.
#pragma once

#include "platform/win32/WinApi.h"

namespace bx {

inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace bx
