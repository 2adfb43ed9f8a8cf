// The image list over a real folder of 10,000 images: FillWallpaperList
// measured against one plain listing of the same folder (std::filesystem)
// in the same run; and the refills that a burst of 1,000 copied files
// causes while the list follows the folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "binding/portable/PortableEnvironment.h"
#include "dialogs/main/BXMain.h"
#include "settings/SettingsModel.h"

namespace bx {
namespace {

using TClock = std::chrono::steady_clock;
double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

constexpr const char* kFolder = "C:\\Pictures";
const std::vector<std::uint8_t> kImage = {'B', 'M'};

struct TListDialog {
  explicit TListDialog(int files) {
    Env.Files().CreateDirectory(kFolder);
    // Written in no order, so that the list has sorting to do.
    const char* kinds[] = {".jpg", ".gif", ".bmp", ".jpeg", ".ico", ".emf", ".wmf"};
    std::vector<int> order(static_cast<std::size_t>(files));
    for (int i = 0; i < files; ++i) order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (int i : order)
      Env.Files().WriteFile(std::string(kFolder) + "\\Photo " + std::to_string(i) + kinds[i % 7],
                            kImage);
    Env.Registry().SetStringValue(kHKeyCurrentUser, kOwnKey, "WallpaperFolder", kFolder);
    PreviewBusy = false;
    Dialog = std::make_unique<TFrmBXMain>();
  }
  TPortableEnvironment Env;
  std::unique_ptr<TFrmBXMain> Dialog;
};

void BM_FillWallpaperList10000(benchmark::State& state) {
  TListDialog b(10000);
  TFrmBXMain& d = *b.Dialog;
  const std::filesystem::path host = b.Env.Files().HostPath(kFolder);
  double fillMs = 0, listMs = 0;
  for (auto _ : state) {
    const auto t0 = TClock::now();
    d.FillWallpaperList();
    const auto t1 = TClock::now();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(host))
      names.push_back(entry.path().filename().string());
    const auto t2 = TClock::now();
    benchmark::DoNotOptimize(names.data());
    fillMs += Ms(t1 - t0);
    listMs += Ms(t2 - t1);
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  if (d.ListBoxWallpapers.Items().size() != 10001) state.SkipWithError("not every file listed");
  const double n = static_cast<double>(state.iterations());
  state.counters["fill_ms"] = fillMs / n;
  state.counters["listing_ms"] = listMs / n;
  state.counters["ratio"] = fillMs / listMs;
}
BENCHMARK(BM_FillWallpaperList10000)->UseManualTime()->Unit(benchmark::kMillisecond);

// 1,000 files copied into the listed folder while the dialog's loop runs
// the monitor's reports and its 10 ms delay on the real clock.
void BM_BurstOf1000Copies(benchmark::State& state) {
  for (auto _ : state) {
    TListDialog b(0);
    TFrmBXMain& d = *b.Dialog;
    int refills = 0, reports = 0;
    d.FolderMonitor.OnChange = [&](TObject& sender) {
      ++refills;
      d.FolderMonitorChange(sender);
    };
    std::atomic<bool> done{false};
    std::thread copier([&] {
      for (int i = 0; i < 1000; ++i)
        b.Env.Files().WriteFile(std::string(kFolder) + "\\Copy " + std::to_string(i) + ".bmp",
                                kImage);
      done = true;
    });
    TManualDispatch& loop = b.Env.Dispatch();
    auto last = TClock::now();
    while (!done || loop.WaitForCall(std::chrono::milliseconds(100)) || loop.PendingTimers()) {
      loop.WaitForCall(std::chrono::milliseconds(2));
      reports += loop.ProcessCalls();
      const auto now = TClock::now();
      const auto step = std::chrono::duration_cast<std::chrono::milliseconds>(now - last);
      loop.Advance(static_cast<std::uint64_t>(step.count()));
      last += step;
    }
    copier.join();
    if (d.ListBoxWallpapers.Items().size() != 1001) state.SkipWithError("not every copy listed");
    state.counters["reports"] = reports;
    state.counters["refills"] = refills;
  }
}
BENCHMARK(BM_BurstOf1000Copies)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bx
