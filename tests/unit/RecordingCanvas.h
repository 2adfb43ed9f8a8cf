// A canvas that records what is drawn on it, with the colours in use.
#pragma once

#include <string>
#include <vector>

#include "ui/Canvas.h"

namespace bx {

struct TCanvasCall {
  enum TKind { Fill, Draw } Kind;
  TRect Rect;        // Fill
  int X = 0, Y = 0;  // Text
  std::string Text;
  TColor Brush = 0, Font = 0;
  bool operator==(const TCanvasCall&) const = default;
};

class TRecordingCanvas : public TCanvas {
 public:
  void FillRect(const TRect& rect) override {
    Calls.push_back({TCanvasCall::Fill, rect, 0, 0, {}, BrushColor, FontColor});
  }
  void TextOut(int x, int y, const std::string& text) override {
    Calls.push_back({TCanvasCall::Draw, {}, x, y, text, BrushColor, FontColor});
  }
  std::vector<TCanvasCall> Calls;
};

}  // namespace bx
