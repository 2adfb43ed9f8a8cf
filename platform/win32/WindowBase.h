// Every window and callback of ours meets the system here. A window class
// of ours has one procedure, TWindowBase<T>::WindowProc, which finds the C++
// object behind the window, hands it each message and lets no exception
// through into the system: an error goes to the dialogs' error report, as
// an event handler's does.
#pragma once

#include "platform/win32/WinApi.h"

namespace bx {

// The module holding this code; our window classes are registered with it.
HINSTANCE CodeModule();

// The module the resources come from (the glyphs, the forms' icons, the
// applet's icon): the code module unless another was set (tests point it
// at the built applet).
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

// Registers a window class of ours, once per load of the module (later
// calls only answer). With `base`, the class builds on that class of the
// system (its procedure is answered, to be called for what ours leaves);
// without, it is a plain window with the arrow cursor (DefWindowProcW is
// answered). Throws "Error creating window".
WNDPROC RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0,
                            const wchar_t* base = nullptr);

// Unregisters the classes of ours that no window uses any more; a class
// still in use stays, and a later RegisterWindowClass answers it. The
// system does not unregister a module's classes when it unloads it.
void UnregisterWindowClasses();

// Inside a catch block: shows the error in hand through the error report,
// "Unknown error" for anything that is no std::exception.
void ReportCurrentException() noexcept;

// Runs the work of a callback from the system (window procedure, hook,
// timer, thread entry): an error is reported and `failed` is answered.
template <class R, class F>
R Guarded(R failed, F&& work) noexcept {
  try {
    return work();
  } catch (...) {
    ReportCurrentException();
    return failed;
  }
}

template <class F>
void Guarded(F&& work) noexcept {
  try {
    work();
  } catch (...) {
    ReportCurrentException();
  }
}

// The base of an object behind windows of a class of ours (in the style of
// thin C++ Win32 wrappers). T derives from TWindowBase<T>, handles
//   LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
// and passes what it leaves to DefaultMessage. Its window is created with
// the object (as T*) as CreateWindowEx's last argument, or made by the
// system and taken over with Attach; from then to WM_NCDESTROY, Handle()
// is that window.
template <class T>
class TWindowBase {
 public:
  HWND Handle() const { return FHandle; }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    T* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      static_cast<TWindowBase*>(self)->FHandle = window;
    }
    // Before its creation message a window has no object yet.
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result =
        Guarded(LRESULT{0}, [&] { return self->WindowMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      static_cast<TWindowBase*>(self)->FHandle = nullptr;
    }
    return result;
  }

 protected:
  // Takes over a window the system made (a dialog of the dialog manager):
  // its messages come to the object from now on, and what the object
  // leaves goes to the window's own procedure.
  void Attach(HWND window) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<T*>(this)));
    FHandle = window;
    SetBaseProcedure(reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc))));
  }
  // The procedure of the system's class ours builds on, DefWindowProcW for none.
  void SetBaseProcedure(WNDPROC procedure) { FBaseProcedure = procedure; }
  LRESULT DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(FBaseProcedure, FHandle, message, wParam, lParam);
  }

  HWND FHandle = nullptr;

 private:
  WNDPROC FBaseProcedure = DefWindowProcW;
};

// The procedures through which the dialog manager's dialogs of ours reach
// the object behind them (a message box, the file dialog's pane, the folder
// browser). T handles
//   INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
// and answers as a dialog procedure does. An object that comes with
// WM_INITDIALOG is kept in the dialog's DWLP_USER slot and found there for
// every later message; an error is reported and answers 0, as in a window
// procedure.
template <class T>
struct TDialogThunk {
  // For a dialog whose WM_INITDIALOG brings the object itself.
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Deliver(dialog, message, wParam, lParam, [](LPARAM init) {
      return reinterpret_cast<T*>(init);
    });
  }
  // For a common dialog's hook, whose WM_INITDIALOG brings the request
  // (OPENFILENAMEW and the like) with the object in its lCustData.
  template <class Request>
  static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<UINT_PTR>(Deliver(dialog, message, wParam, lParam, [](LPARAM init) {
      return reinterpret_cast<T*>(reinterpret_cast<const Request*>(init)->lCustData);
    }));
  }
  // For a callback that brings the object with every call (the folder
  // browser's); the dialog is the system's, so its slot is left alone.
  static int CALLBACK CallbackProc(HWND dialog, UINT message, LPARAM lParam, LPARAM object) {
    T* self = reinterpret_cast<T*>(object);
    if (!self) return 0;
    return static_cast<int>(
        Guarded(INT_PTR{0}, [&] { return self->DialogMessage(dialog, message, 0, lParam); }));
  }

 private:
  template <class From>
  static INT_PTR Deliver(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, From from) {
    T* self = reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self && message == WM_INITDIALOG) {
      self = from(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    // Before its first message a dialog has no object yet.
    if (!self) return 0;
    const INT_PTR result =
        Guarded(INT_PTR{0}, [&] { return self->DialogMessage(dialog, message, wParam, lParam); });
    if (message == WM_NCDESTROY) SetWindowLongPtrW(dialog, DWLP_USER, 0);
    return result;
  }
};

}  // namespace bx
