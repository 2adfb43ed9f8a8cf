#include "platform/portable/PortablePlatform.h"

namespace bx {

// ---- TRecordingSystem --------------------------------------------------------

TRecordingSystem::TRecordingSystem() {
  FMetrics = {{kSmCxScreen, 1024},        {kSmCyScreen, 768}, {kSmCxVirtualScreen, 1024},
              {kSmCyVirtualScreen, 768}, {kSmCxIcon, 32},    {kSmCyIcon, 32},
              {kSmCyBorder, 1}};
  // The classic Windows scheme.
  FSysColors = {
      {0, 0xC0C0C0},            // COLOR_SCROLLBAR
      {kColorBackground, 0x808000},
      {2, 0x800000},            // COLOR_ACTIVECAPTION
      {3, 0x808080},            // COLOR_INACTIVECAPTION
      {4, 0xC0C0C0},            // COLOR_MENU
      {5, 0xFFFFFF},            // COLOR_WINDOW
      {6, 0x000000},            // COLOR_WINDOWFRAME
      {7, 0x000000},            // COLOR_MENUTEXT
      {kColorWindowText, 0x000000},
      {9, 0xFFFFFF},            // COLOR_CAPTIONTEXT
      {10, 0xC0C0C0},           // COLOR_ACTIVEBORDER
      {11, 0xC0C0C0},           // COLOR_INACTIVEBORDER
      {12, 0x808080},           // COLOR_APPWORKSPACE
      {13, 0x800000},           // COLOR_HIGHLIGHT
      {14, 0xFFFFFF},           // COLOR_HIGHLIGHTTEXT
      {kColorBtnFace, 0xC0C0C0},
      {16, 0x808080},           // COLOR_BTNSHADOW
      {17, 0x808080},           // COLOR_GRAYTEXT
      {18, 0x000000},           // COLOR_BTNTEXT
      {19, 0xC0C0C0},           // COLOR_INACTIVECAPTIONTEXT
      {20, 0xFFFFFF},           // COLOR_BTNHIGHLIGHT
      {21, 0x000000},           // COLOR_3DDKSHADOW
      {22, 0xDFDFDF},           // COLOR_3DLIGHT
      {23, 0x000000},           // COLOR_INFOTEXT
      {24, 0xE1FFFF},           // COLOR_INFOBK
  };
}

int TRecordingSystem::GetSystemMetrics(int index) {
  auto it = FMetrics.find(index);
  return it == FMetrics.end() ? 0 : it->second;
}

TDesktopLayout TRecordingSystem::DesktopLayout() {
  TDesktopLayout layout = ISystem::DesktopLayout();
  layout.Host = WallpaperHost;
  return layout;
}

bool TRecordingSystem::SystemParametersInfo(std::uint32_t action, std::uint32_t param,
                                            const std::string& text, std::uint32_t winIni) {
  SysParamCalls.push_back({action, param, text, winIni});
  return SystemParametersInfoResult;
}

bool TRecordingSystem::SetSysColor(int element, std::uint32_t color) {
  SysColorCalls.push_back({element, color});
  if (!SetSysColorResult) return false;
  FSysColors[element] = color;
  return true;
}

std::uint32_t TRecordingSystem::GetSysColor(int index) {
  auto it = FSysColors.find(index);
  return it == FSysColors.end() ? 0 : it->second;
}

void TRecordingSystem::Beep(std::uint32_t frequency, std::uint32_t duration) {
  BeepCalls.push_back({frequency, duration});
}

void TRecordingSystem::MessageBeep() { ++MessageBeepCalls; }

// ---- TScriptedMessageBoxes ---------------------------------------------------

TMsgDlgBtn TScriptedMessageBoxes::MessageDlg(const std::string& text, TMsgDlgType type,
                                             const TMsgDlgButtons& buttons) {
  Messages.push_back({text, type, buttons, false});
  if (!Answers.empty()) {
    TMsgDlgBtn answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  return buttons.empty() ? TMsgDlgBtn::mbOK : buttons.front();
}

void TScriptedMessageBoxes::SimpleMessage(const std::string& text) {
  Messages.push_back({text, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, true});
}

// ---- The sets ------------------------------------------------------------------

TPlatform TPortableServices::AsPlatform() {
  TPlatform platform;
  platform.Registry = &Registry;
  platform.Files = &Files;
  platform.System = &System;
  platform.MessageBoxes = &MessageBoxes;
  platform.Metafiles = nullptr;  // no metafile player on this platform
  platform.Dispatch = &Dispatch;
  platform.ChangeNotification = &ChangeNotification;
  platform.Dialogs = &Dialogs;
  platform.VersionResources = &VersionResources;
  platform.MemoryStatus = &MemoryStatus;
  platform.Modules = &Modules;
  platform.Locale = &Locale;
  return platform;
}

TPortableServices& DefaultPortableServices() {
  static TPortableServices services;
  return services;
}

TPlatform DefaultPlatform() { return DefaultPortableServices().AsPlatform(); }

}  // namespace bx
