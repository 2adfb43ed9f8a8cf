// The applet host: the module's list of applets and the Control Panel's
// message protocol. Plain C++; the export (applet/CplExport.cpp)
// converts between these records and the host's own structures.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Form.h"

namespace bx {

// A dialog class: makes a new dialog whose parent is the given window.
using TFormClass = std::function<std::unique_ptr<TForm>(std::uintptr_t parentWindow)>;

// One applet the module offers.
class TControlApplet {
 public:
  // A record for the dialog class; Name and Description empty, Icon 0.
  static std::unique_ptr<TControlApplet> Create(TFormClass formClass);
  // Appends the record to Applets, which owns it from then on.
  static TControlApplet& Register(std::unique_ptr<TControlApplet> applet);

  TFormClass FormClass;
  std::string Name;
  std::uintptr_t Icon = 0;  // the host's icon handle; never destroyed here
  std::string Description;
};

using TAppletList = std::vector<std::unique_ptr<TControlApplet>>;

// The applets in Control Panel order; null before the module start and after CPL_EXIT.
extern std::unique_ptr<TAppletList> Applets;
// The Control Panel's window from CPL_INIT, the parent of every dialog; 0 until then.
extern std::uintptr_t ControlPanelWindow;

// The record at Index, or null for a number the list does not hold.
TControlApplet* GetApplet(std::intptr_t Index);

// The module start: the environment check, then the one applet of this
// module, the main dialog, with the icon the export loaded.
void ModuleStart(std::uintptr_t icon);
// Creates the applet list and registers the one applet for formClass.
void RegisterApplets(std::uintptr_t icon, TFormClass formClass);

// Control Panel messages.
constexpr unsigned kCplInit = 1;
constexpr unsigned kCplGetCount = 2;
constexpr unsigned kCplInquire = 3;
constexpr unsigned kCplSelect = 4;
constexpr unsigned kCplDblClk = 5;
constexpr unsigned kCplStop = 6;
constexpr unsigned kCplExit = 7;
constexpr unsigned kCplNewInquire = 8;

// What CPL_NEWINQUIRE tells about an applet; Described stays false when the
// applet number names no applet, and the host's record is then left alone.
struct TCplDescription {
  bool Described = false;
  std::uintptr_t Icon = 0;
  std::string Name;
  std::string Info;
};

// Answers one Control Panel message. newInquire receives the description for
// CPL_NEWINQUIRE and may be null. An error of the dialog's creation or run is
// shown in a message box; other errors pass to the caller.
long ControlPanelMessage(std::uintptr_t hwndCPl, unsigned uMsg, std::intptr_t lParam1,
                         TCplDescription* newInquire);

}  // namespace bx
