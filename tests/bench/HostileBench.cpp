// Hostile files: files of up to 1 MiB whose headers claim far more work
// than their data holds (and, for reference, sound files at the largest
// image size), each loaded and composed as the dialog does it (the picture
// loader, then the image bitmap), in a child process of its own so that its
// CPU time and peak memory are its own. Goal: every one loads and draws, or
// fails with its format's message, within 1 s and 512 MiB. Metafiles are
// played by a player that costs what GDI's does at worst: each record fills
// the whole rectangle it is played into. The same goal holds for the about
// box's reading of a hostile version block.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "binding/portable/PortableEnvironment.h"
#include "components/Picture.h"
#include "components/VersionReader.h"
#include "dialogs/about/QSAboutVersion.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/PngWebpWriters.h"
#include "tests/unit/VersionWriters.h"
#include "tests/unit/WorstCaseMetafilePlayer.h"

namespace bx {
namespace {

using test::TBytes;

// ---- The files ---------------------------------------------------------------

TBytes ManyEntryIcon(int count) {
  test::TIconImageSpec image;
  image.Values.assign(32 * 32, 0xFF102030);
  const TBytes one = test::WriteIco({image});
  const TBytes body(one.begin() + 22, one.end());
  TBytes b = {0, 0, 1, 0};
  test::Put16(b, static_cast<std::uint32_t>(count));
  for (int i = 0; i < count; ++i) {
    b.insert(b.end(), {32, 32, 0, 0});
    test::Put16(b, 1);
    test::Put16(b, 32);
    test::Put32(b, static_cast<std::uint32_t>(body.size()));
    test::Put32(b, static_cast<std::uint32_t>(6 + 16 * count));
  }
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

TBytes PngIcon(int width, int height) {
  test::TIconImageSpec image;
  image.Png = true;
  image.Width = width;
  image.Height = height;
  image.Values.assign(static_cast<std::size_t>(width) * height, 0);
  return test::WriteIco({image});
}

TBytes GreyJpeg(int width, int height) {
  return test::WriteJpeg(width, height, 1,
                         std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 90));
}

// A GIF whose frame claims a size its few bytes of data cannot fill.
TBytes FrameBeyondItsData(int width, int height) {
  TBytes b = test::LongStringGif(width, height, 4, 4);
  const std::size_t descriptor = 6 + 7 + 12 + 1;
  test::Set16(b, descriptor + 4, static_cast<std::uint32_t>(width));
  test::Set16(b, descriptor + 6, static_cast<std::uint32_t>(height));
  return b;
}

// A GIF of `count` frames of one pixel each.
TBytes ManyFrameGif(int count) {
  TBytes b = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x81, 0, 0};
  b.insert(b.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
  for (int i = 0; i < count; ++i)
    b.insert(b.end(), {',', 1, 0, 1, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0});
  b.push_back(';');
  return b;
}

// The PNG file inside an icon of one PNG entry.
TBytes PngOfIcon(const TBytes& icon) { return TBytes(icon.begin() + 22, icon.end()); }

// A small PNG whose header claims width x height (its header's checksum
// no longer matches).
TBytes PngClaiming(int width, int height) {
  TBytes b = PngOfIcon(PngIcon(64, 64));
  for (int i = 0; i < 4; ++i) {
    b[16 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (24 - 8 * i));
    b[20 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (24 - 8 * i));
  }
  return b;
}

// A WebP of width x height of one grey, lossy or lossless, whole or cut
// to half of its bytes.
TBytes GreyWebP(int width, int height, bool lossless, bool cut = false) {
  TBytes file = test::WriteWebP(
      width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4, 200),
      lossless);
  if (cut) file.resize(file.size() / 2);
  return file;
}

struct THostileFile {
  const char* Name;
  const char* FileName;  // its extension chooses the decoder
  std::function<TBytes()> Make;
};

const std::vector<THostileFile>& HostileFiles() {
  static const std::vector<THostileFile> files = {
      {"ico_20_rle_entries_16384x16384", "a.ico", [] { return test::ManyEntryRleIcon(20, 16384, 16384); }},
      {"ico_20_rle_entries_8192x4096", "a.ico", [] { return test::ManyEntryRleIcon(20, 8192, 4096); }},
      {"ico_65000_entries", "a.ico", [] { return ManyEntryIcon(65000); }},
      {"ico_png_8192x4096_of_zeros", "a.ico", [] { return PngIcon(8192, 4096); }},
      {"ico_png_33554432x1_of_zeros", "a.ico", [] { return test::WidePngIcon(1 << 25); }},
      {"jpeg_progressive_4096_1000_scans", "a.jpg", [] { return test::ManyScanJpeg(4096, 1000); }},
      {"jpeg_progressive_4096_1001_scans", "a.jpg", [] { return test::ManyScanJpeg(4096, 1001); }},
      {"jpeg_progressive_5792_4000_scans", "a.jpg", [] { return test::ManyScanJpeg(5792, 4000); }},
      {"jpeg_header_8192x4096_on_380_bytes", "a.jpg", [] { return test::JpegClaiming(GreyJpeg(64, 64), 8192, 4096); }},
      {"gif_1x4096_screen_65535x4096_frame", "a.gif", [] { return test::LongStringGif(1, 4096, 65535, 4096); }},
      {"gif_1x32768_screen_65535x40000_frame", "a.gif", [] { return test::LongStringGif(1, 32768, 65535, 40000); }},
      {"gif_8192x4096_frame_on_30_bytes", "a.gif", [] { return FrameBeyondItsData(8192, 4096); }},
      {"gif_70000_frames", "a.gif", [] { return ManyFrameGif(70000); }},
      {"bmp_rle_8192x4096_ending_at_once", "a.bmp", [] { return test::RleEndingAtOnce(8192, 4096); }},
      {"wmf_8192x4096_58251_fills_1MiB", "a.wmf", [] { return test::ManyFillWmf(1 << 20, 8192, 4096); }},
      {"emf_8192x4096_43686_fills_1MiB", "a.emf", [] { return test::ManyFillEmf(1 << 20, 8192, 4096); }},
      {"png_8192x4096_of_zeros", "a.png", [] { return PngOfIcon(PngIcon(8192, 4096)); }},
      {"png_33554432x1_of_zeros", "a.png", [] { return PngOfIcon(test::WidePngIcon(1 << 25)); }},
      {"png_header_16384x16384_on_a_small_file", "a.png", [] { return PngClaiming(16384, 16384); }},
      {"webp_4096x4096_lossy_cut_to_half", "a.webp", [] { return GreyWebP(4096, 4096, false, true); }},
      {"webp_8192x4096_lossless_on_a_KiB", "a.webp", [] { return GreyWebP(8192, 4096, true); }},
      {"webp_8192x4096_lossless_cut_to_half", "a.webp", [] { return GreyWebP(8192, 4096, true, true); }},
      // Sound files at the largest size, for reference.
      {"sound_webp_8192x4096_grey", "a.webp", [] { return GreyWebP(8192, 4096, false); }},
      {"sound_gif_8192x4096_one_colour", "a.gif", [] { return test::LongStringGif(8192, 4096, 8192, 4096); }},
      {"sound_jpeg_8192x4096_grey", "a.jpg", [] { return GreyJpeg(8192, 4096); }},
  };
  return files;
}

// ---- One run in a child process --------------------------------------------

struct TRunResult {
  double CpuMs = 0;
  double WallMs = 0;
  double PeakMiB = 0;
  char Outcome[160] = {};
};

long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, length, field) == 0) return std::stol(line.substr(length + 1));
  return 0;
}

double CpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Runs the work (which returns its outcome), measured from its start: CPU
// time, wall time and the peak memory above what the process held before.
TRunResult Measured(const std::function<std::string()>& work) {
  TRunResult r;
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts from here
  const long baseKiB = StatusKiB("VmRSS:");
  const double cpu0 = CpuMs();
  const auto wall0 = std::chrono::steady_clock::now();
  std::string outcome;
  try {
    outcome = work();
  } catch (const Exception& e) {
    outcome = e.Message();
  }
  r.WallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
  r.CpuMs = CpuMs() - cpu0;
  r.PeakMiB = (StatusKiB("VmHWM:") - baseKiB) / 1024.0;
  std::snprintf(r.Outcome, sizeof r.Outcome, "%s", outcome.c_str());
  return r;
}

// Loads and composes the file as the preview does.
TRunResult LoadAndDraw(const std::string& fileName, const TBytes& bytes) {
  test::TWorstCaseMetafilePlayer player;
  test::TImagePlatform platform(&player);
  platform.Files.Files[fileName] = bytes;
  return Measured([&]() -> std::string {
    TPicture picture;
    picture.LoadFromFile(fileName);
    TPixelBuffer bitmap;
    picture.Compose(bitmap, MakeColor(0, 128, 128));
    return picture.Empty() ? "empty" : "drawn";
  });
}

bool RunInChild(const std::function<TRunResult()>& run, TRunResult& result) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    const TRunResult r = run();
    const bool written = write(fds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    _exit(written ? 0 : 1);
  }
  close(fds[1]);
  const bool read = ::read(fds[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// One run of the work in a child process, reported with the input's size.
void ReportChildRun(benchmark::State& state, std::size_t inputBytes,
                    const std::function<TRunResult()>& run) {
  TRunResult r;
  for (auto _ : state) {
    if (!RunInChild(run, r)) {
      state.SkipWithError("the child process failed");
      return;
    }
    state.SetIterationTime(r.WallMs / 1000);
  }
  state.counters["file_KiB"] = inputBytes / 1024.0;
  state.counters["cpu_ms"] = r.CpuMs;
  state.counters["wall_ms"] = r.WallMs;
  state.counters["peak_MiB"] = r.PeakMiB;
  state.SetLabel(std::string(r.Outcome) + "; goal <= 1000 ms, <= 512 MiB");
}

void BM_HostileFile(benchmark::State& state, const THostileFile* file) {
  const TBytes bytes = file->Make();
  ReportChildRun(state, bytes.size(), [&] { return LoadAndDraw(file->FileName, bytes); });
}

const int kRegistered = [] {
  for (const THostileFile& file : HostileFiles())
    benchmark::RegisterBenchmark((std::string("BM_Hostile/") + file.Name).c_str(), BM_HostileFile, &file)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  return 0;
}();

// ---- Version blocks ------------------------------------------------------------

// The about box's reading of a version block, hostile and, for reference,
// sound: the reader alone, and the version view's whole fill (reader, value
// lookup, rows, list view), with the number of changes of the list's rows.
struct TVersionBlock {
  const char* Name;
  std::function<TBytes()> Make;
  bool Box;  // the version view's fill, else the reader alone
};

TRunResult ReadVersionBlock(const TBytes& block, bool box) {
  TPortableEnvironment env;
  env.Files().WriteFile("C:\\m.dll", test::WritePeModule({{16, 1, 0x0406, block}}));
  return Measured([&]() -> std::string {
    if (!box) return std::to_string(GetVersionStrings("C:\\m.dll").size()) + " lines";
    TFrmQSVersionAbout about(nullptr);  // its own view is of a file without version
    int rowChanges = 0;
    about.ListViewVersion.OnStateChanged = [&, rows = std::size_t{0}](TControl& c) mutable {
      const std::size_t now = static_cast<TListView&>(c).Items().size();
      if (now != rows) ++rowChanges;
      rows = now;
    };
    about.FFileName = "C:\\m.dll";
    about.BitBtnVersionClick(about);
    about.ListViewVersion.OnStateChanged = nullptr;
    return std::to_string(about.ListViewVersion.Items().size()) + " rows in " +
           std::to_string(rowChanges) + " changes of the list";
  });
}

void BM_VersionBlock(benchmark::State& state, const TVersionBlock* block) {
  const TBytes bytes = block->Make();
  ReportChildRun(state, bytes.size(), [&] { return ReadVersionBlock(bytes, block->Box); });
}

const int kVersionBlocksRegistered = [] {
  static const TVersionBlock blocks[] = {
      {"version_64KiB_unterminated_keys", [] { return test::UnterminatedKeysVersionBlock(65536); }, false},
      {"version_64KiB_unterminated_keys_about_box", [] { return test::UnterminatedKeysVersionBlock(65536); }, true},
      {"sound_version_2000_entries_about_box", [] { return test::ManyEntryVersionBlock(2000); }, true},
  };
  for (const TVersionBlock& block : blocks)
    benchmark::RegisterBenchmark((std::string("BM_Hostile/") + block.Name).c_str(), BM_VersionBlock, &block)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  return 0;
}();

}  // namespace
}  // namespace bx
