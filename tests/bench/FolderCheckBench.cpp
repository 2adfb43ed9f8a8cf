// The browse dialog's check of the folder under the cursor, over a real
// folder of 100,000 entries: the search per image mask that ends at its
// first match, and the whole listing matched afterwards (how the check
// was made before), each against one plain listing of the same folder
// (std::filesystem) in the same run. Once with images among the entries,
// once with none at all.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "binding/portable/PortableEnvironment.h"
#include "components/ListFiles.h"

namespace bx {
namespace {

using TClock = std::chrono::steady_clock;

constexpr const char* kFolder = "C:\\Big";
constexpr const char* kImageMasks = "*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf";
constexpr int kEntries = 100000;

// The check as it was: every entry listed, then each mask's first match.
bool ListedThenMatched(const std::string& folder) {
  const std::vector<TFileEntry> entries = Platform().Files->ListFolder(folder);
  for (const char* mask : {"*.gif", "*.jpg", "*.jpeg", "*.bmp", "*.ico", "*.emf", "*.wmf"})
    for (const TFileEntry& e : entries)
      if (MatchesMask(e.Name, mask)) {
        if (!(e.Attributes & kFaDirectory)) return true;
        break;
      }
  return false;
}

// `imageEvery`: one entry in that many is a JPEG; 0 for none.
void FolderCheck(benchmark::State& state, int imageEvery) {
  TPortableEnvironment env;
  env.Files().CreateDirectory(kFolder);
  for (int i = 0; i < kEntries; ++i) {
    const bool image = imageEvery > 0 && i % imageEvery == imageEvery - 1;
    env.Files().WriteFile(std::string(kFolder) + "\\Entry " + std::to_string(i) +
                              (image ? ".jpg" : ".txt"),
                          {});
  }
  const std::filesystem::path host = env.Files().HostPath(kFolder);
  double searchS = 0, wholeS = 0, listingS = 0;
  bool agree = true;
  for (auto _ : state) {
    const auto t0 = TClock::now();
    const bool found = FirstMatchIsFile(kFolder, kImageMasks);
    const auto t1 = TClock::now();
    const bool foundBefore = ListedThenMatched(kFolder);
    const auto t2 = TClock::now();
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(host))
      names.push_back(entry.path().filename().string());
    const auto t3 = TClock::now();
    benchmark::DoNotOptimize(names.data());
    agree = agree && found == foundBefore && found == (imageEvery > 0);
    searchS += std::chrono::duration<double>(t1 - t0).count();
    wholeS += std::chrono::duration<double>(t2 - t1).count();
    listingS += std::chrono::duration<double>(t3 - t2).count();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  if (!agree) state.SkipWithError("the two checks disagree");
  state.counters["search_ratio"] = searchS / listingS;
  state.counters["whole_listing_ratio"] = wholeS / listingS;
}

void BM_FolderCheck100000WithImages(benchmark::State& state) { FolderCheck(state, 100); }
void BM_FolderCheck100000WithoutImages(benchmark::State& state) { FolderCheck(state, 0); }
BENCHMARK(BM_FolderCheck100000WithImages)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderCheck100000WithoutImages)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bx
