// Test doubles for the picture decoders: the display facts and an
// in-memory file store, installed for the length of one test.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx::test {

class TImageSystem : public ISystem {
 public:
  int ColorDepth = 32;
  int PixelsPerInchX = 96;
  int PixelsPerInchY = 96;
  int IconWidth = 32;
  int IconHeight = 32;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;

  int GetSystemMetrics(int index) override {
    switch (index) {
      case kSmCxIcon: return IconWidth;
      case kSmCyIcon: return IconHeight;
      case kSmCxScreen: return ScreenWidth;
      case kSmCyScreen: return ScreenHeight;
      default: return 0;
    }
  }
  bool SystemParametersInfo(std::uint32_t, std::uint32_t, const std::string&,
                            std::uint32_t) override {
    return false;
  }
  bool SetSysColor(int, std::uint32_t) override { return false; }
  std::uint32_t GetSysColor(int) override { return 0; }
  void Beep(std::uint32_t, std::uint32_t) override {}
  void MessageBeep() override {}
  std::vector<std::string> CommandLineArgs() override { return {}; }
  int DisplayColorDepth() override { return ColorDepth; }
  int LogPixelsPerInchX() override { return PixelsPerInchX; }
  int LogPixelsPerInchY() override { return PixelsPerInchY; }
  bool IsWindows95OrNT() override { return true; }
  void EndProgram() override {}
  std::uint64_t TickCountMs() override { return 0; }
};

class TImageFiles : public IFileSystem {
 public:
  std::map<std::string, std::vector<std::uint8_t>> Files;

  bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
  bool DirectoryExists(const std::string&) override { return false; }
  bool DeleteFile(const std::string& path) override { return Files.erase(path) != 0; }
  std::vector<std::uint8_t> ReadFile(const std::string& path) override {
    auto it = Files.find(path);
    if (it == Files.end()) throw Exception(FormatText("Cannot open file %s", path));
    return it->second;
  }
  void WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& data) override {
    Files[path] = data;
  }
  bool GetFileStamp(const std::string& path, FileStamp& stamp) override {
    auto it = Files.find(path);
    if (it == Files.end()) return false;
    stamp.size = it->second.size();
    return true;
  }
  std::string GetWindowsDirectory() override { return "C:\\Windows\\"; }
  std::vector<TFileEntry> ListFolder(const std::string&) override { return {}; }
  bool FindFirstEntry(const std::string&, const std::string&, TFileEntry&) override {
    return false;
  }
};

// Installs the doubles (and a metafile player, when given) and puts the
// previous services back at the end of the scope.
class TImagePlatform {
 public:
  TImageSystem System;
  TImageFiles Files;

  explicit TImagePlatform(IMetafilePlayer* player = nullptr) {
    TPlatform p;
    p.Files = &Files;
    p.System = &System;
    p.Metafiles = player;
    FPrevious = SetPlatform(p);
  }
  ~TImagePlatform() { SetPlatform(FPrevious); }
  TImagePlatform(const TImagePlatform&) = delete;
  TImagePlatform& operator=(const TImagePlatform&) = delete;

 private:
  TPlatform FPrevious;
};

}  // namespace bx::test
