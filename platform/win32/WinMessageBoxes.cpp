#include "platform/win32/WinMessageBoxes.h"

#include <algorithm>
#include <vector>

#include "platform/win32/DesktopSize.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"

namespace bx {

namespace {

constexpr int kIdYesToAll = 100;

// The buttons in the order they appear, each with its caption and id.
struct TButtonKind {
  TMsgDlgBtn Button;
  const wchar_t* Caption;
  int Id;
};
constexpr TButtonKind kButtonOrder[] = {
    {TMsgDlgBtn::mbYes, L"&Yes", IDYES},
    {TMsgDlgBtn::mbOK, L"OK", IDOK},
    {TMsgDlgBtn::mbCancel, L"Cancel", IDCANCEL},
    {TMsgDlgBtn::mbYesToAll, L"Yes to &All", kIdYesToAll},
};

struct TBox {
  std::wstring Text;
  std::wstring Title;
  const wchar_t* Icon = nullptr;
  UINT Sound = MB_OK;
  std::vector<TButtonKind> Buttons;
  int DefaultId = IDOK;
  // The answer for Esc and the close box: Cancel when the box has it,
  // else the box's own last button.
  TMsgDlgBtn CancelAnswer = TMsgDlgBtn::mbCancel;

  INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// Line breaks of the logic are lone CRs or LFs; the static control wants CR LF.
std::wstring WithWindowsLineBreaks(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      out += L"\r\n";
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

// Pixels of a length in dialog units.
int DluX(HWND dialog, int units) {
  RECT r{0, 0, units, 0};
  MapDialogRect(dialog, &r);
  return r.right;
}
int DluY(HWND dialog, int units) {
  RECT r{0, 0, 0, units};
  MapDialogRect(dialog, &r);
  return r.bottom;
}

SIZE TextSize(HWND dialog, HFONT font, const std::wstring& text, UINT flags, int maxWidth) {
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return {r.right - r.left, r.bottom - r.top};
}

HWND Child(HWND dialog, const wchar_t* cls, const wchar_t* text, DWORD style, int id, HFONT font) {
  HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                           nullptr);
  if (w) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return w;
}

void Layout(HWND dialog, TBox& box) {
  SetWindowTextW(dialog, box.Title.c_str());
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  const int margin = DluX(dialog, 7);
  const int gapY = DluY(dialog, 7);
  const int iconSize = GetSystemMetrics(SM_CXICON);
  const int buttonHeight = DluY(dialog, 14);
  const int buttonGap = DluX(dialog, 4);

  const RECT work = WorkAreaOf(GetWindow(dialog, GW_OWNER));
  const int maxText = std::max(200, static_cast<int>((work.right - work.left) * 2 / 3));

  const UINT textFlags = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  const SIZE text = TextSize(dialog, font, box.Text, textFlags, maxText);

  int buttonWidth = DluX(dialog, 50);
  for (const TButtonKind& b : box.Buttons)
    buttonWidth = std::max<int>(buttonWidth,
                                TextSize(dialog, font, b.Caption, DT_SINGLELINE, 0).cx + 2 * margin);
  const int rowWidth = static_cast<int>(box.Buttons.size()) * buttonWidth +
                       static_cast<int>(box.Buttons.size() - 1) * buttonGap;

  const int bodyHeight = std::max<int>(iconSize, text.cy);
  const int clientWidth = std::max<int>(margin + iconSize + margin + text.cx + margin,
                                        margin + rowWidth + margin);
  const int clientHeight = gapY + bodyHeight + gapY + buttonHeight + gapY;

  HWND icon = Child(dialog, L"STATIC", nullptr, SS_ICON, -1, font);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, box.Icon)), 0);
  MoveWindow(icon, margin, gapY, iconSize, iconSize, FALSE);
  HWND label = Child(dialog, L"STATIC", box.Text.c_str(), SS_LEFT | SS_NOPREFIX, -1, font);
  MoveWindow(label, margin + iconSize + margin, gapY + (bodyHeight - text.cy) / 2, text.cx,
             text.cy, FALSE);

  int x = (clientWidth - rowWidth) / 2;
  const int y = gapY + bodyHeight + gapY;
  HWND defaultButton = nullptr;
  bool first = true;
  for (const TButtonKind& b : box.Buttons) {
    DWORD style = WS_TABSTOP | (b.Id == box.DefaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (first) style |= WS_GROUP;
    first = false;
    HWND w = Child(dialog, L"BUTTON", b.Caption, style, b.Id, font);
    MoveWindow(w, x, y, buttonWidth, buttonHeight, FALSE);
    if (b.Id == box.DefaultId) defaultButton = w;
    x += buttonWidth + buttonGap;
  }

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  const int left = std::max<int>(work.left, work.left + (work.right - work.left - w) / 2);
  const int top = std::max<int>(work.top, work.top + (work.bottom - work.top - h) / 2);
  SetWindowPos(dialog, nullptr, left, top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);

  SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(box.DefaultId), 0);
  if (defaultButton) SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(defaultButton), TRUE);
  MessageBeep(box.Sound);
}

// Dialog results: the position of the answer in TMsgDlgBtn, plus one.
INT_PTR ResultOf(TMsgDlgBtn button) { return static_cast<INT_PTR>(button) + 1; }

INT_PTR TBox::DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        Layout(dialog, *this);
        return FALSE;  // the focus is on the default button already
      case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) {  // the Cancel button, Esc and the close box
          EndDialog(dialog, ResultOf(CancelAnswer));
          return TRUE;
        }
        for (const TButtonKind& b : Buttons)
          if (b.Id == id) {
            EndDialog(dialog, ResultOf(b.Button));
            return TRUE;
          }
        return FALSE;
      }
      case WM_CLOSE:
        EndDialog(dialog, ResultOf(CancelAnswer));
        return TRUE;
      default:
        return FALSE;
    }
  } catch (...) {
    // The error report is a box like this one: a box that fails ends with
    // the safe answer instead.
    EndDialog(dialog, 0);
    return TRUE;
  }
}

class TWinMessageBoxes : public IMessageBoxes {
 public:
  TMsgDlgBtn MessageDlg(const std::string& text, TMsgDlgType type,
                        const TMsgDlgButtons& buttons) override {
    TBox box;
    box.Text = WithWindowsLineBreaks(Widen(text));
    switch (type) {
      case TMsgDlgType::mtInformation:
        box.Title = L"Information";
        box.Icon = IDI_INFORMATION;
        box.Sound = MB_ICONINFORMATION;
        break;
      case TMsgDlgType::mtConfirmation:
        box.Title = L"Confirm";
        box.Icon = IDI_QUESTION;
        box.Sound = MB_ICONQUESTION;
        break;
      case TMsgDlgType::mtError:
        box.Title = L"Error";
        box.Icon = IDI_ERROR;
        box.Sound = MB_ICONERROR;
        break;
    }
    for (const TButtonKind& kind : kButtonOrder)
      if (std::find(buttons.begin(), buttons.end(), kind.Button) != buttons.end())
        box.Buttons.push_back(kind);
    if (box.Buttons.empty()) box.Buttons.push_back(kButtonOrder[1]);  // OK

    auto has = [&](TMsgDlgBtn b) {
      return std::any_of(box.Buttons.begin(), box.Buttons.end(),
                         [b](const TButtonKind& k) { return k.Button == b; });
    };
    // OK is the default where it is shown, else the first button (Yes).
    box.DefaultId = has(TMsgDlgBtn::mbOK) ? IDOK : box.Buttons.front().Id;
    box.CancelAnswer = has(TMsgDlgBtn::mbCancel) ? TMsgDlgBtn::mbCancel : box.Buttons.back().Button;

    // An empty modal dialog in the shell's dialog font; the controls are
    // made at run time, sized to the text.
    const TDialogTemplate empty(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                WS_EX_DLGMODALFRAME, {}, L"MS Shell Dlg", 8);
    const INT_PTR result =
        DialogBoxIndirectParamW(CodeModule(), empty.Get(), GetActiveWindow(),
                                TDialogThunk<TBox>::DialogProc, reinterpret_cast<LPARAM>(&box));
    if (result >= ResultOf(TMsgDlgBtn::mbOK) && result <= ResultOf(TMsgDlgBtn::mbYesToAll))
      return static_cast<TMsgDlgBtn>(result - 1);
    return box.CancelAnswer;  // the box could not be shown: the safe answer
  }

  void SimpleMessage(const std::string& text) override {
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, WithWindowsLineBreaks(Widen(text)).c_str(), L"Bexora",
                MB_OK | (owner ? 0 : MB_TASKMODAL));
  }
};

}  // namespace

IMessageBoxes& WinMessageBoxes() {
  static TWinMessageBoxes boxes;
  return boxes;
}

}  // namespace bx
