// Push buttons and glyph buttons. A click, by mouse, Space, Enter, Esc or
// the access key, runs the model's Click.
#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "binding/win32/Glyph.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TButtonBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;

  void Command(UINT code) override {
    switch (code) {
      // With BS_NOTIFY the second click of a double click comes as a
      // double click; it is a click all the same.
      case BN_CLICKED:
      case BN_DOUBLECLICKED:
        Click();
        break;
      // The focused push button is the one Enter presses, and looks it.
      case BN_SETFOCUS:
        FOwner.PushButtonFocused(this);
        break;
      case BN_KILLFOCUS:
        FOwner.PushButtonFocused(nullptr);
        break;
      default:
        break;
    }
  }
  void Click() override {
    if (!Usable()) return;
    TButton& button = static_cast<TButton&>(FControl);
    Dispatch([&button] { button.Click(); });
  }

  int NeededWidth(HDC dc) const override {
    const int caption = CaptionWidth(dc, Widen(FControl.Caption()));
    return caption > 0 ? caption + FOwner.Form().Scaled(kFrame) : 0;
  }

  // Shows the default button's mark, or not.
  void ShowDefault(bool marked) override {
    const UINT wanted = marked ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongW(FHandle, GWL_STYLE) & BS_TYPEMASK) != static_cast<LONG>(wanted))
      SendMessageW(FHandle, BM_SETSTYLE, wanted | BS_NOTIFY, TRUE);
  }

 protected:
  // The face's edges and the focus mark's margin, at 96 pixels per inch.
  static constexpr int kFrame = 8;
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    const bool isDefault = static_cast<TButton&>(FControl).Default;
    return CreateButton(parent, id, bounds,
                        style | BS_NOTIFY | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
  }
  void UpdateKind() override { SyncCaption(); }

  HWND CreateButton(HWND parent, int id, const RECT& bounds, DWORD style) {
    return CreateChild(0, L"BUTTON", Widen(FControl.Caption()).c_str(), style, parent, id, bounds);
  }
};

// A glyph button draws itself: a push-button face, the glyph left of the
// caption and both centred together, the caption's access key underlined,
// the focus rectangle inside the face.
class TBitBtnBinding : public TButtonBinding {
 public:
  using TButtonBinding::TButtonBinding;
  // Its text is not painted: it holds the name a screen reader reads.
  bool ShowsCaption() const override { return false; }
  // Read as a push button, which the platform's accessibility does not
  // know of every owner-drawn one (Wine's).
  TAccessibleText AccessibleText() const override {
    TAccessibleText text = TControlBinding::AccessibleText();
    text.Role = ROLE_SYSTEM_PUSHBUTTON;
    return text;
  }

  // The glyph beside the caption, inside the face's frame.
  int NeededWidth(HDC dc) const override {
    const int caption = CaptionWidth(dc, Widen(FControl.Caption()));
    if (caption == 0) return 0;
    const int spacing = FOwner.Form().Scaled(kGlyphSpacing);
    return (FGlyph.Empty() ? 0 : FGlyph.Width() + spacing) + caption + FOwner.Form().Scaled(kFrame);
  }

  void ShowDefault(bool marked) override {
    if (marked == FMarked) return;
    FMarked = marked;
    InvalidateRect(FHandle, nullptr, FALSE);
  }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    const TBitBtn& button = static_cast<const TBitBtn&>(FControl);
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    // The dark outer line marks the button Enter presses.
    const bool marked = focused || FMarked;
    if (marked) {
      FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&face, -1, -1);
    }
    if (pressed && marked) {
      FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
      InflateRect(&face, -1, -1);
      FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    } else {
      DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }

    const int offset = pressed ? 1 : 0;
    const std::wstring caption = Widen(button.Caption());
    HGDIOBJ oldFont = SelectObject(dc, Font());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT textExtent{0, 0, 0, 0};
    if (!caption.empty())
      DrawTextW(dc, caption.c_str(), -1, &textExtent, DT_CALCRECT | DT_SINGLELINE);
    const int glyphWidth = FGlyph.Empty() ? 0 : FGlyph.Width();
    const int glyphHeight = FGlyph.Empty() ? 0 : FGlyph.Height();
    const int spacing = glyphWidth > 0 && !caption.empty() ? FOwner.Form().Scaled(kGlyphSpacing) : 0;
    const int total = glyphWidth + spacing + textExtent.right;
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int left = item.rcItem.left + (width - total + 1) / 2 + offset;
    if (glyphWidth > 0)
      FGlyph.Draw(dc, left, item.rcItem.top + (height - glyphHeight + 1) / 2 + offset, disabled);
    if (!caption.empty()) {
      RECT text{left + glyphWidth + spacing, 0, 0, 0};
      text.top = item.rcItem.top + (height - textExtent.bottom + 1) / 2 + offset;
      text.right = text.left + textExtent.right;
      text.bottom = text.top + textExtent.bottom;
      const UINT flags = DT_SINGLELINE | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
      if (disabled) {
        RECT shifted = text;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), -1, &shifted, flags);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      }
      DrawTextW(dc, caption.c_str(), -1, &text, flags);
    }
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
      RECT mark = item.rcItem;
      InflateRect(&mark, -4, -4);
      DrawFocusRect(dc, &mark);
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    return true;
  }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    LoadGlyph();
    FMarked = static_cast<const TBitBtn&>(FControl).Default;
    HWND button = CreateButton(parent, id, bounds, style | BS_OWNERDRAW | BS_NOTIFY);
    if (button) SetWindowSubclass(button, ButtonProc, kSubclassId, 0);
    return button;
  }

  // The caption (or the name it holds) is kept by Update.
  void UpdateKind() override {
    const TBitBtn& button = static_cast<const TBitBtn&>(FControl);
    if (button.Glyph != FGlyphName || button.NumGlyphs != FNumGlyphs) LoadGlyph();
    FGlyph.SetPixelsPerInch(FOwner.Form().PixelsPerInch());
    InvalidateRect(FHandle, nullptr, FALSE);
  }

 private:
  static constexpr int kGlyphSpacing = 4;
  static constexpr UINT_PTR kSubclassId = 1;

  // Brings a screen reader's questions to AccessibleText.
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR) {
    if (message == WM_GETOBJECT)
      if (const LRESULT answer = AnswerAccessibility(window, wParam, lParam)) return answer;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ButtonProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  void LoadGlyph() {
    const TBitBtn& button = static_cast<const TBitBtn&>(FControl);
    FGlyphName = button.Glyph;
    FNumGlyphs = button.NumGlyphs;
    FGlyph.Load(FGlyphName, FNumGlyphs);  // a missing resource leaves the caption alone
    FGlyph.SetPixelsPerInch(FOwner.Form().PixelsPerInch());
  }

  TGlyph FGlyph;
  bool FMarked = false;
  std::string FGlyphName;
  int FNumGlyphs = 1;
};

}  // namespace

std::unique_ptr<TControlBinding> MakeButtonBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TButtonBinding>(owner, control);
}

std::unique_ptr<TControlBinding> MakeBitBtnBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TBitBtnBinding>(owner, control);
}

}  // namespace bx
