#include "ui/Form.h"

#include <algorithm>

#include "platform/ErrorReport.h"
#include "platform/Platform.h"

namespace bx {

TForm::~TForm() = default;

void TForm::AddControl(TControl& control) {
  control.FParent = this;
  FControls.push_back(&control);
}

TControl* TForm::FindControl(const std::string& name) const {
  for (TControl* c : FControls)
    if (c->Name() == name) return c;
  return nullptr;
}

std::vector<TControl*> TForm::TabOrderList() const {
  std::vector<TControl*> list;
  auto visit = [this, &list](auto& self, const TControl* container) -> void {
    std::vector<TControl*> held;
    for (TControl* c : FControls)
      if (c->ParentControl() == container && c->TabOrder() >= 0) held.push_back(c);
    std::stable_sort(held.begin(), held.end(),
                     [](const TControl* a, const TControl* b) { return a->TabOrder() < b->TabOrder(); });
    for (TControl* c : held) {
      list.push_back(c);
      self(self, c);
    }
  };
  visit(visit, nullptr);
  return list;
}

TControl* TForm::ActiveControl() const {
  return OnGetActiveControl ? OnGetActiveControl() : FActiveControl;
}

void TForm::SetActiveControl(TControl* control) {
  FActiveControl = control;
  if (OnSetActiveControl) OnSetActiveControl(control);
}

void TForm::SetCaption(const std::string& value) {
  if (FCaption == value) return;
  FCaption = value;
  Changed();
}

void TForm::SetBounds(int left, int top, int width, int height) {
  const int frameW = FBorderStyle == TBorderStyle::bsNone ? 0 : FrameWidth;
  const int frameH = FBorderStyle == TBorderStyle::bsNone ? 0 : FrameHeight;
  if (FLeft == left && FTop == top && FWidth == width && FHeight == height) return;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  FClientWidth = width - frameW;
  FClientHeight = height - frameH;
  Changed();
}

void TForm::SetClientSize(int width, int height) {
  const int frameW = FBorderStyle == TBorderStyle::bsNone ? 0 : FrameWidth;
  const int frameH = FBorderStyle == TBorderStyle::bsNone ? 0 : FrameHeight;
  SetBounds(FLeft, FTop, width + frameW, height + frameH);
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (FBorderStyle == value) return;
  FBorderStyle = value;
  const int frameW = value == TBorderStyle::bsNone ? 0 : FrameWidth;
  const int frameH = value == TBorderStyle::bsNone ? 0 : FrameHeight;
  FClientWidth = FWidth - frameW;
  FClientHeight = FHeight - frameH;
  Changed();
}

void TForm::SetColor(TColor value) {
  FSystemColor = -1;
  if (FColor == value) return;
  FColor = value;
  Changed();
}

void TForm::SetFontColor(TColor value) {
  FSystemFontColor = -1;
  if (FFontColor == value) return;
  FFontColor = value;
  Changed();
}

int TForm::Scaled(int designPixels) const { return ScaledBy(designPixels, FPixelsPerInch, 96); }

void TForm::ScaleTo(int pixelsPerInch) {
  if (pixelsPerInch <= 0 || pixelsPerInch == FPixelsPerInch) return;
  const int from = FPixelsPerInch;
  auto scaled = [&](int value) { return ScaledBy(value, pixelsPerInch, from); };
  FPixelsPerInch = pixelsPerInch;
  FontHeight = scaled(FontHeight);
  // Edges rather than sizes, so that controls that meet still meet.
  for (TControl* control : FControls) {
    const TRect r = control->LocalBounds();
    const int left = scaled(r.Left), top = scaled(r.Top);
    control->SetBounds(left, top, r.Width() > 0 ? scaled(r.Right) - left : r.Width(),
                       r.Height() > 0 ? scaled(r.Bottom) - top : r.Height());
    control->ScalePixels(pixelsPerInch, from);
  }
  SetClientSize(scaled(FClientWidth), scaled(FClientHeight));
}

void TForm::SetSystemColors(int color, int fontColor) {
  ISystem* system = Platform().System;
  if (system && color >= 0) SetColor(system->GetSysColor(color));
  if (system && fontColor >= 0) SetFontColor(system->GetSysColor(fontColor));
  FSystemColor = color;
  FSystemFontColor = fontColor;
}

void TForm::SystemColorsChanged() {
  SetSystemColors(FSystemColor, FSystemFontColor);
  for (TControl* control : FControls)
    if (auto* list = dynamic_cast<TListBox*>(control)) list->SystemColorsChanged();
}

void TForm::SetShowHint(bool value) {
  if (FShowHint == value) return;
  FShowHint = value;
  Changed();
}

void TForm::AppendSystemMenu(unsigned id, const std::string& text) {
  FSystemMenu.push_back({id, text});
  Changed();
}

void TForm::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ReportError(e);
  }
}

void TForm::ReportError(const std::exception& error) { Application().ShowException(error); }

void TApplication::ShowException(const std::exception& error) {
  try {
    if (Platform().MessageBoxes)
      Platform().MessageBoxes->MessageDlg(error.what(), TMsgDlgType::mtError,
                                          {TMsgDlgBtn::mbOK});
  } catch (...) {
    // Nothing is left to report an error of the report itself to.
  }
}

TApplication& Application() {
  static TApplication application;
  return application;
}

namespace {
// What escapes a callback of the system is shown as a handler's error is.
[[maybe_unused]] const TErrorReport kReportBefore =
    SetErrorReport([](const std::exception& error) { Application().ShowException(error); });
}  // namespace

namespace {
IFormHost* gFormHost = nullptr;
}

IFormHost& FormHost() { return gFormHost ? *gFormHost : DefaultFormHost(); }

IFormHost* SetFormHost(IFormHost* host) {
  IFormHost* previous = gFormHost;
  gFormHost = host;
  return previous;
}

TModalRun::~TModalRun() {
  try {
    FormHost().Release(FForm);
  } catch (...) {
  }
}

}  // namespace bx
