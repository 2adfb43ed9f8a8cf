#include "binding/win32/FormWindow.h"

#include <algorithm>

#include "binding/win32/ControlBindings.h"
#include "platform/Errors.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

// The dialog procedure of the empty template: everything is the form
// window's, which subclasses the dialog once it exists and sets the first
// focus itself.
INT_PTR CALLBACK EmptyDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

constexpr int kFirstControlId = 100;


std::map<const TForm*, std::unique_ptr<TFormWindow>>& FormWindows() {
  static std::map<const TForm*, std::unique_ptr<TFormWindow>> windows;
  return windows;
}

// The forms whose modal loops run, innermost last: a form without an owner
// of its own is owned by the one it was opened from.
std::vector<TFormWindow*>& ModalForms() {
  static std::vector<TFormWindow*> forms;
  return forms;
}

// The fixed dialog frame: a caption with the system menu and the close box
// only. Without a frame the window is a plain pop-up.
constexpr DWORD kFrameStyles = WS_CAPTION | WS_SYSMENU;
DWORD StyleFor(TBorderStyle border) {
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  if (border == TBorderStyle::bsDialog) style |= kFrameStyles;
  return style;
}
DWORD ExStyleFor(TBorderStyle border) {
  return border == TBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME : 0;
}

// The short part of a hint, before its "|".
std::string ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

// Sent to a window of a host aware of each monitor's scale when it moves
// to a monitor of another.
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// The pixels per inch of a window as its process sees them: the window's
// own where the system keeps one per window (Windows 10), else the
// screen's. A host that is not aware of scaling sees 96 and is scaled by
// the system.
int PixelsPerInchOf(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<TGetDpiForWindow>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow)
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

TFormWindow::TFormWindow(TForm& form) : FForm(form) {}

TFormWindow::~TFormWindow() {
  FForm.OnStateChanged = nullptr;
  FForm.OnGetActiveControl = nullptr;
  FForm.OnSetActiveControl = nullptr;
  for (auto& binding : FBindings) binding->Unbind();
  if (FTooltip) DestroyWindow(FTooltip);
  if (FHandle) DestroyWindow(FHandle);
  FBindings.clear();
  if (FFont) DeleteObject(FFont);
  for (HFONT font : FSmallerFonts) DeleteObject(font);
  if (FBrush) DeleteObject(FBrush);
  if (FIconBig) DestroyIcon(FIconBig);
  if (FIconSmall) DestroyIcon(FIconSmall);
}

void TFormWindow::Create() {
  if (FHandle) return;
  HWND owner = reinterpret_cast<HWND>(FForm.ParentWindow);
  HWND ownerForm = FForm.OwnerForm ? FormWindowHandle(*FForm.OwnerForm) : nullptr;
  if (!owner) owner = ownerForm;
  if (!owner && !ModalForms().empty()) owner = ModalForms().back()->Handle();
  const DWORD style = StyleFor(FForm.BorderStyle());
  const DWORD exStyle = ExStyleFor(FForm.BorderStyle());
  // An empty dialog template: the platform's dialog manager does the
  // keyboard, while the controls are placed at their exact pixels in code.
  const TDialogTemplate empty(style, exStyle);
  HWND handle = CreateDialogIndirectParamW(CodeModule(), empty.Get(), owner, EmptyDialogProc, 0);
  if (!handle) throw Exception("Error creating window");
  Attach(handle);
  SetWindowTextW(handle, Widen(FForm.Caption()).c_str());
  // The layout's pixels are at 96 per inch; the window has its own.
  FForm.ScaleTo(PixelsPerInchOf(handle));
  FBrushColor = FForm.Color();
  FBrush = CreateSolidBrush(FBrushColor);
  FFontColor = FForm.FontColor();
  MakeFont();
  const int clientWidth = std::max(0, FForm.ClientWidth());
  const int clientHeight = std::max(0, FForm.ClientHeight());
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  int left = FForm.Left();
  int top = FForm.Top();
  RECT ownerBounds{};
  if (FForm.Centered && ownerForm && GetWindowRect(ownerForm, &ownerBounds)) {
    left = ownerBounds.left + (ownerBounds.right - ownerBounds.left - width) / 2;
    top = ownerBounds.top + (ownerBounds.bottom - ownerBounds.top - height) / 2;
  } else if (FForm.Centered) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  SetWindowPos(handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  FForm.Handle = reinterpret_cast<std::uintptr_t>(handle);
  // The frame the system really draws decides the outer size, so that the
  // client area is exactly the form's.
  RECT client{};
  GetClientRect(FHandle, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    width += clientWidth - client.right;
    height += clientHeight - client.bottom;
    SetWindowPos(FHandle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  UpdateSystemMenu();
  SetIcons();
  CreateControls();
  FitCaptions();
  ArrangeForDialogManager();
  CreateTooltips();
  FCreated = true;
  WriteBoundsToModel();
  FForm.OnStateChanged = [this](TForm&) { SyncFromModel(); };
  FForm.OnGetActiveControl = [this]() -> TControl* {
    TControlBinding* binding = FocusedBinding();
    return binding ? &binding->Control() : nullptr;
  };
  FForm.OnSetActiveControl = [this](TControl* control) {
    TControlBinding* binding = control ? BindingOf(*control) : nullptr;
    if (binding && binding->CanFocus()) Focus(*binding);
  };
}

void TFormWindow::MakeFont() {
  FFont = ::CreateFontW(FForm.FontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, Widen(FForm.FontName).c_str());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FFont ? static_cast<HGDIOBJ>(FFont) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  FFontHeight = metrics.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

// The title bar shows the small icon, the task switcher the large one; each
// is loaded at its own size rather than scaled by the system.
void TFormWindow::SetIcons() {
  if (FForm.Icon.empty()) return;
  const std::wstring name = Widen(FForm.Icon);
  auto load = [&name](int width, int height) {
    return static_cast<HICON>(LoadImageW(ResourceModule(), name.c_str(), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height), 0));
  };
  FIconBig = load(SM_CXICON, SM_CYICON);
  FIconSmall = load(SM_CXSMICON, SM_CYSMICON);
  if (FIconBig) SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIconBig));
  if (FIconSmall)
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FIconSmall));
}

void TFormWindow::CreateControls() {
  int id = kFirstControlId;
  for (TControl* control : FForm.Controls()) {
    FBindings.push_back(MakeControlBinding(*this, *control));
    TControlBinding* binding = FBindings.back().get();
    // Owner-drawn list boxes ask for their item height while being created.
    FById[id] = binding;
    binding->Create(FHandle, id);
    FByWindow[binding->Handle()] = binding;
    // Later controls lie above earlier ones, so that controls placed over
    // the picture stay visible.
    SetWindowPos(binding->Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ++id;
  }
}

// The dialog manager tabs in z-order: the tab stops in the form's tab
// sequence, each label just before the control its access key focuses, and
// below them what takes no focus, later ones above earlier ones.
void TFormWindow::ArrangeForDialogManager() {
  std::vector<TControlBinding*> order;
  auto placed = [&order](TControlBinding* b) {
    return std::find(order.begin(), order.end(), b) != order.end();
  };
  for (TControlBinding* binding : TabOrderList()) {
    if (!binding->Focusable()) continue;
    for (const auto& label : FBindings)
      if (label->Control().Kind() == TControlKind::Label &&
          static_cast<const TLabel&>(label->Control()).FocusControl == &binding->Control() &&
          !placed(label.get()))
        order.push_back(label.get());
    order.push_back(binding);
  }
  // Tab order is a cycle: its last stop goes on top, so that the latest
  // made of the focusable controls lies above the others.
  std::size_t last = order.size();
  while (last > 0 && !order[last - 1]->Focusable()) --last;
  if (last > 0) {
    std::size_t first = last - 1;
    while (first > 0 && !order[first - 1]->Focusable()) --first;
    std::rotate(order.begin(), order.begin() + first, order.end());
  }
  for (auto it = FBindings.rbegin(); it != FBindings.rend(); ++it)
    if (!placed(it->get())) order.push_back(it->get());
  HWND after = HWND_TOP;
  const TRadioButton* lastRadio = nullptr;
  for (TControlBinding* binding : order) {
    const HWND window = binding->Handle();
    SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = window;
    LONG_PTR style =
        GetWindowLongPtrW(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_TABSTOP | WS_GROUP);
    const TControl& control = binding->Control();
    if (binding->Focusable() && control.TabOrder() >= 0) style |= WS_TABSTOP;
    const auto* radio = control.Kind() == TControlKind::RadioButton
                            ? static_cast<const TRadioButton*>(&control) : nullptr;
    // A group runs to the next window marked as a group's start: the radio
    // buttons of one container and one Group, each other control alone.
    if (!(radio && lastRadio && radio->SameGroup(*lastRadio))) style |= WS_GROUP;
    lastRadio = radio;
    SetWindowLongPtrW(window, GWL_STYLE, style);
  }
}

void TFormWindow::CreateTooltips() {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  FTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                             CodeModule(), nullptr);
  if (!FTooltip) return;  // hints are a help, not a need
  SendMessageW(FTooltip, TTM_SETMAXTIPWIDTH, 0, 320);
  for (auto& binding : FBindings) {
    if (ShortHint(binding->Control().Hint()).empty()) continue;
    for (HWND window : binding->HintWindows()) {
      TTTOOLINFOW tool{};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = FHandle;
      tool.uId = reinterpret_cast<UINT_PTR>(window);
      // Asked for each time it shows: a control's hint may change (the
      // preview names a placement stored by Windows).
      tool.lpszText = LPSTR_TEXTCALLBACKW;
      tool.lParam = reinterpret_cast<LPARAM>(binding.get());
      SendMessageW(FTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  SendMessageW(FTooltip, TTM_ACTIVATE, FForm.ShowHint() ? TRUE : FALSE, 0);
}

void TFormWindow::UpdateSystemMenu() {
  const auto& items = FForm.SystemMenuItems();
  HMENU menu = GetSystemMenu(FHandle, FALSE);
  if (!menu) return;
  if (!FMenuTrimmed) {
    // A fixed dialog frame can be neither sized, minimised nor maximised.
    for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
      DeleteMenu(menu, command, MF_BYCOMMAND);
    FMenuTrimmed = true;
  }
  for (; FMenuItemsAdded < items.size(); ++FMenuItemsAdded) {
    const TSystemMenuItem& item = items[FMenuItemsAdded];
    AppendMenuW(menu, MF_STRING, item.Id, Widen(item.Text).c_str());
  }
}

void TFormWindow::SyncFromModel() {
  if (!FHandle || FSyncing) return;
  ++FSyncing;
  const std::wstring caption = Widen(FForm.Caption());
  if (WindowText(FHandle) != caption) SetWindowTextW(FHandle, caption.c_str());

  const TBorderStyle border = FForm.BorderStyle();
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  const LONG_PTR wantedStyle = (style & ~static_cast<LONG_PTR>(kFrameStyles)) |
                               static_cast<LONG_PTR>(StyleFor(border) & kFrameStyles);
  const LONG_PTR wantedExStyle = (exStyle & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME)) |
                                 static_cast<LONG_PTR>(ExStyleFor(border));
  if (wantedStyle != style || wantedExStyle != exStyle) {
    // The outer bounds stay; the client area grows or shrinks by the frame.
    SetWindowLongPtrW(FHandle, GWL_STYLE, wantedStyle);
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE, wantedExStyle);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  RECT bounds{};
  GetWindowRect(FHandle, &bounds);
  if (bounds.left != FForm.Left() || bounds.top != FForm.Top() ||
      bounds.right - bounds.left != FForm.Width() || bounds.bottom - bounds.top != FForm.Height())
    SetWindowPos(FHandle, nullptr, FForm.Left(), FForm.Top(), FForm.Width(), FForm.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);

  bool repaint = false;
  if (FForm.Color() != FBrushColor) {
    HBRUSH brush = CreateSolidBrush(FForm.Color());
    if (brush) {
      if (FBrush) DeleteObject(FBrush);
      FBrush = brush;
      FBrushColor = FForm.Color();
      repaint = true;
    }
  }
  if (FForm.FontColor() != FFontColor) {
    FFontColor = FForm.FontColor();
    repaint = true;
  }
  if (repaint)
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  if (FTooltip) SendMessageW(FTooltip, TTM_ACTIVATE, FForm.ShowHint() ? TRUE : FALSE, 0);
  UpdateSystemMenu();
  --FSyncing;
  WriteBoundsToModel();
}

void TFormWindow::WriteBoundsToModel() {
  if (!FHandle || !FCreated || FSyncing || IsIconic(FHandle)) return;
  RECT outer{}, client{};
  GetWindowRect(FHandle, &outer);
  GetClientRect(FHandle, &client);
  ++FSyncing;
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  if (FForm.BorderStyle() == TBorderStyle::bsDialog) {
    FForm.FrameWidth = width - client.right;
    FForm.FrameHeight = height - client.bottom;
  }
  FForm.SetBounds(outer.left, outer.top, width, height);
  --FSyncing;
}

// ---- Modal run ------------------------------------------------------------------

void TFormWindow::RunModal() {
  Create();
  if (FRunning) return;
  FRunning = true;
  FClosed = false;
  FForm.ModalResult = mrNone;
  HWND owner = GetWindow(FHandle, GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  ModalForms().push_back(this);

  ShowWindow(FHandle, SW_SHOW);
  SetForegroundWindow(FHandle);
  SetActiveWindow(FHandle);
  const HWND focus = GetFocus();
  if (!focus || (focus != FHandle && !IsChild(FHandle, focus))) FocusFirst();
  ::UpdateWindow(FHandle);

  // Sent messages (the folder monitor hands its reports over that way) are
  // handled inside PeekMessage, so the end of the run is seen after them too.
  auto done = [this] {
    return Application().Terminated() || FClosed || FForm.ModalResult != mrNone ||
           !IsWindow(FHandle);
  };
  MSG msg;
  while (!done()) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!PreTranslateFormMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      continue;
    }
    if (done()) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }

  ModalForms().erase(std::find(ModalForms().begin(), ModalForms().end(), this));
  // The owner is enabled before this window hides, so that it is the one activated.
  if (disableOwner) EnableWindow(owner, TRUE);
  if (IsWindow(FHandle)) ShowWindow(FHandle, SW_HIDE);
  FRunning = false;
}

// ---- Window procedure -------------------------------------------------------------

LRESULT TFormWindow::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // The button Enter presses, asked by the dialog manager.
    case DM_GETDEFID: {
      TControlBinding* button = KeyButton(false);
      return button ? MAKELRESULT(button->Id(), DC_HASDEFID) : 0;
    }
    // Commands and notifications go to the binding of the control that sent
    // them; the dialog manager's Enter without a default button and Esc come
    // without a control.
    case WM_COMMAND:
      if (!lParam && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        if (TControlBinding* button = KeyButton(LOWORD(wParam) == IDCANCEL)) button->Click();
        return 0;
      }
      if (lParam) {
        if (TControlBinding* binding = BindingOf(reinterpret_cast<HWND>(lParam))) {
          binding->Command(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (header && header->hwndFrom == FTooltip && FTooltip && header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const auto* binding = reinterpret_cast<const TControlBinding*>(info->lParam);
        FTooltipText = binding ? Widen(ShortHint(binding->Control().Hint())) : std::wstring();
        info->lpszText = FTooltipText.data();
        return 0;
      }
      if (header)
        if (TControlBinding* binding = BindingOf(header->hwndFrom))
          if (binding->Notify(*header, result)) return result;
      break;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (TControlBinding* binding = BindingOf(item->hwndItem))
        if (binding->DrawItem(*item)) return TRUE;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      auto it = FById.find(static_cast<int>(item->CtlID));
      if (it != FById.end() && it->second->MeasureItem(*item)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      TControlBinding* binding = BindingOf(reinterpret_cast<HWND>(lParam));
      if (binding && binding->UsesFormColors()) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, FForm.FontColor());
        SetBkColor(dc, FForm.Color());
        return reinterpret_cast<LRESULT>(FBrush);
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(FHandle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, FBrush);
      return 1;
    }
    case WM_SETCURSOR: {
      const HWND target = reinterpret_cast<HWND>(wParam);
      if (LOWORD(lParam) == HTCLIENT && target != FHandle) {
        TControlBinding* binding = BindingOf(target);
        if (!binding) binding = BindingOf(GetParent(target));
        if (binding && binding->Control().Cursor() != TCursor::crDefault) {
          const bool hand = binding->Control().Cursor() == TCursor::crHandPoint;
          SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_CROSS));
          return TRUE;
        }
      }
      break;
    }
    case WM_SYSCOMMAND: {
      // The system's own handling first, then the form sees the exact command.
      const LRESULT result = DefaultMessage(message, wParam, lParam);
      Guarded([&] { FForm.SysCommand(static_cast<unsigned>(wParam)); });
      return result;
    }
    case WM_CLOSE:
      // The close box, Alt+F4 and the system menu's Close end the modal run
      // without applying anything; the window stays until it is released.
      Guarded([&] { FForm.CloseQuery(); });
      FClosed = true;
      if (FForm.ModalResult == mrNone) FForm.ModalResult = mrCancel;
      PostMessageW(FHandle, WM_NULL, 0, 0);
      return 0;
    case WM_HELP: {
      const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      int context = 0;
      if (info && info->iContextType == HELPINFO_WINDOW) {
        const HWND item = static_cast<HWND>(info->hItemHandle);
        TControlBinding* binding = BindingOf(item);
        if (!binding) binding = BindingOf(GetParent(item));
        if (binding) context = binding->Control().HelpContext();
      }
      Guarded([&] {
        bool callHelp = true;
        FForm.Help(HELP_CONTEXT, context, callHelp);
      });
      return TRUE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(FHandle, focus)) FLastFocus = focus;
        return 0;
      }
      if (!HIWORD(wParam)) {
        if (FLastFocus && IsWindow(FLastFocus) && IsChild(FHandle, FLastFocus) &&
            IsWindowEnabled(FLastFocus) && IsWindowVisible(FLastFocus)) {
          SetFocus(FLastFocus);
          return 0;
        }
        FocusFirst();
        const HWND focus = GetFocus();
        if (focus && IsChild(FHandle, focus)) return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      // The user moved the window: the model follows.
      if (FCreated && !FSyncing) WriteBoundsToModel();
      break;
    case kDpiChanged: {
      // Moved to a monitor of another scale: the form scales to it and
      // takes the place the system suggests.
      Rescale(LOWORD(wParam));
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      if (suggested)
        SetWindowPos(FHandle, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETTINGCHANGE:
      if (wParam != SPI_SETHIGHCONTRAST) break;
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
      // A high-contrast theme came or went: the colours that follow the
      // system's are read again, and the common controls are told, as
      // only top-level windows hear of it.
      FForm.SystemColorsChanged();
      for (const auto& binding : FBindings)
        if (binding->Handle()) SendMessageW(binding->Handle(), WM_SYSCOLORCHANGE, 0, 0);
      RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_NCDESTROY:
      FByWindow.clear();
      FForm.Handle = 0;
      break;
    default:
      break;
  }
  return DefaultMessage(message, wParam, lParam);
}

// ---- The windows of the forms --------------------------------------------------

TFormWindow& FormWindowOf(TForm& form) {
  std::unique_ptr<TFormWindow>& window = FormWindows()[&form];
  if (!window) window = std::make_unique<TFormWindow>(form);
  return *window;
}

void DestroyFormWindow(TForm& form) {
  auto it = FormWindows().find(&form);
  if (it == FormWindows().end()) return;
  if (it->second->Running()) {
    // Released from inside its own modal run: the run ends first.
    it->second->ReleaseWhenDone();
    return;
  }
  std::unique_ptr<TFormWindow> window = std::move(it->second);
  FormWindows().erase(it);
}

TFormWindow* FormWindowFromHandle(HWND window) {
  if (!window) return nullptr;
  const HWND root = GetAncestor(window, GA_ROOT);
  for (auto& [form, formWindow] : FormWindows())
    if (formWindow->Handle() == root) return formWindow.get();
  return nullptr;
}

HWND CreateFormWindow(TForm& form) {
  TFormWindow& window = FormWindowOf(form);
  window.Create();
  return window.Handle();
}

HWND FormWindowHandle(const TForm& form) {
  auto it = FormWindows().find(&form);
  return it == FormWindows().end() ? nullptr : it->second->Handle();
}

HWND FindControlWindow(const TForm& form, const std::string& controlName) {
  auto it = FormWindows().find(&form);
  if (it == FormWindows().end()) return nullptr;
  TControlBinding* binding = it->second->BindingOf(controlName);
  return binding ? binding->Handle() : nullptr;
}

bool PreTranslateFormMessage(MSG& msg) {
  TFormWindow* window = FormWindowFromHandle(msg.hwnd);
  return window && window->PreTranslate(msg);
}


}  // namespace bx
