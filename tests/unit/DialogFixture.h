// A main dialog on the portable platform: a fresh registry, files, desktop
// and message boxes for each test, seeded as a typical user's machine, and
// the dialog made on demand after the test has stored what it needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "binding/portable/PortableEnvironment.h"
#include "dialogs/about/QSAboutVersion.h"
#include "dialogs/main/BXMain.h"
#include "settings/SettingsModel.h"
#include "ui/Form.h"

namespace bx {

class DialogFixture : public ::testing::Test {
 protected:
  static constexpr const char* kAppData = "C:\\Users\\me\\AppData\\";
  static constexpr const char* kDefaultAppData = "C:\\Users\\Default\\AppData\\";
  static constexpr const char* kWindows = "C:\\Windows\\";

  DialogFixture() {
    Application().ClearTerminate();
    Application().ShowHint = false;
    PreviewBusy = false;
    Files().CreateDirectory(kAppData);
    Files().CreateDirectory(kDefaultAppData);
    Registry().SetStringValue(kHKeyCurrentUser, kShellFoldersKey, "AppData",
                              "C:\\Users\\me\\AppData");
    Registry().SetStringValue(kHKeyUsers, kDefaultUserShellFoldersKey, "AppData",
                              "C:\\Users\\Default\\AppData");
  }

  ~DialogFixture() override {
    Form.reset();
    Application().ClearTerminate();
    Application().ShowHint = false;
  }

  // Creates the dialog (once) as the host does, after the test's seeding.
  TFrmBXMain& Dialog() {
    if (!Form) Form = std::make_unique<TFrmBXMain>();
    return *Form;
  }

  TMemoryRegistry& Registry() { return Env.Registry(); }
  TPortableFiles& Files() { return Env.Files(); }
  TRecordingSystem& System() { return Env.System(); }
  TScriptedMessageBoxes& MessageBoxes() { return Env.MessageBoxes(); }

  // Seeding and reading the values of the layout.
  void SetDesktop(const std::string& name, const std::string& text) {
    Registry().SetStringValue(kHKeyCurrentUser, kDesktopKey, name, text);
  }
  void SetColors(const std::string& name, const std::string& text) {
    Registry().SetStringValue(kHKeyCurrentUser, kColorsKey, name, text);
  }
  void SetOwn(const std::string& name, std::uint32_t value) {
    Registry().SetDwordValue(kHKeyCurrentUser, kOwnKey, name, value);
  }
  void SetOwnText(const std::string& name, const std::string& text) {
    Registry().SetStringValue(kHKeyCurrentUser, kOwnKey, name, text);
  }
  std::optional<std::string> Desktop(const std::string& name) const {
    return Env.Registry().GetStringValue(kHKeyCurrentUser, kDesktopKey, name);
  }
  std::optional<std::string> DefaultUserDesktop(const std::string& name) const {
    return Env.Registry().GetStringValue(kHKeyUsers, kDefaultUserDesktopKey, name);
  }
  std::optional<std::uint32_t> Own(const std::string& name) const {
    return Env.Registry().GetDwordValue(kHKeyCurrentUser, kOwnKey, name);
  }
  std::optional<std::string> OwnText(const std::string& name) const {
    return Env.Registry().GetStringValue(kHKeyCurrentUser, kOwnKey, name);
  }

  void RemoveValue(RegKey root, const std::string& key, const std::string& name) {
    RegKey k = 0;
    const std::string path = !key.empty() && key[0] == '\\' ? key.substr(1) : key;
    if (Registry().OpenKey(root, path, kKeyAllAccess, k) != kErrorSuccess) return;
    Registry().DeleteValue(k, name);
    Registry().CloseKey(k);
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const TRecordedMessage& m : Env.MessageBoxes().Messages) texts.push_back(m.Text);
    return texts;
  }

  std::string ConvertedPath() const { return std::string(kAppData) + kConvertedFileName; }
  std::string DefaultUserConvertedPath() const {
    return std::string(kDefaultAppData) + kConvertedFileName;
  }

  // Declared first: the dialog goes before the services it uses.
  mutable TPortableEnvironment Env;
  std::unique_ptr<TFrmBXMain> Form;
};

}  // namespace bx
