// The preview's speed on a 3840 x 2160 desktop with a 4000 x 3000 JPEG
// wallpaper (and a 1920 x 1080 one, a quarter of the desktop): the whole
// path of an origin change (the update, then the reduction into the
// 151 x 111 control that each repaint does), measured against one plain
// fill of the desktop-size preview buffer in the same run. Goal: ratio <= 2
// for any picture and placement, <= 1 for a picture up to a quarter of the
// desktop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "binding/portable/PortableEnvironment.h"
#include "components/Picture.h"
#include "components/PictureReduction.h"
#include "dialogs/main/BXMain.h"
#include "dialogs/main/PreviewScene.h"
#include "settings/SettingsModel.h"

namespace bx {
namespace {

constexpr int kDesktopWidth = 3840, kDesktopHeight = 2160;
constexpr int kImageWidth = 4000, kImageHeight = 3000;
constexpr int kControlWidth = 151, kControlHeight = 111;

std::vector<std::uint8_t> EncodeJpeg(int width, int height) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = width;
  c.image_height = height;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 85, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<JSAMPLE>(x * 255 / width);
      row[x * 3 + 1] = static_cast<JSAMPLE>(y * 255 / height);
      row[x * 3 + 2] = static_cast<JSAMPLE>((x ^ y) & 0xFF);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

// One dialog on the portable desktop, with the wallpaper shown.
struct TBenchDialog {
  TBenchDialog(int tile, int style, bool grid, int imageWidth = kImageWidth,
               int imageHeight = kImageHeight) {
    Env.System().SetMetric(kSmCxVirtualScreen, kDesktopWidth);
    Env.System().SetMetric(kSmCyVirtualScreen, kDesktopHeight);
    Env.Files().CreateDirectory("C:\\Pictures\\");
    Env.Files().WriteFile(kPath, EncodeJpeg(imageWidth, imageHeight));
    auto& reg = Env.Registry();
    reg.SetStringValue(kHKeyCurrentUser, kDesktopKey, "Wallpaper", kPath);
    reg.SetStringValue(kHKeyCurrentUser, kDesktopKey, "TileWallpaper", std::to_string(tile));
    reg.SetStringValue(kHKeyCurrentUser, kDesktopKey, "WallpaperStyle", std::to_string(style));
    reg.SetStringValue(kHKeyCurrentUser, kColorsKey, "Background", "0 128 128");
    reg.SetDwordValue(kHKeyCurrentUser, kOwnKey, "ShowPreviewGrid", grid ? 1 : 0);
    PreviewBusy = false;
    Dialog = std::make_unique<TFrmBXMain>();
  }
  static constexpr const char* kPath = "C:\\Pictures\\photo.jpg";
  TPortableEnvironment Env;
  std::unique_ptr<TFrmBXMain> Dialog;
};

using TClock = std::chrono::steady_clock;
double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Each iteration: one origin change (one preview update), the reduction
// for the repaint and, for the reference, one plain fill of a buffer of the
// preview's size.
void OriginChange(benchmark::State& state, int tile, int style, bool grid,
                  int imageWidth = kImageWidth, int imageHeight = kImageHeight) {
  TBenchDialog b(tile, style, grid, imageWidth, imageHeight);
  TFrmBXMain& d = *b.Dialog;
  if (d.ImageWallpaper.PictureWidth() != kDesktopWidth || d.ImageWidth() != imageWidth) {
    state.SkipWithError("the wallpaper did not load");
    return;
  }
  TPixelBuffer reference(kDesktopWidth, kDesktopHeight);
  reference.Fill(0);  // its pages are the system's from here on, not part of a timed fill
  std::vector<TPixel> control(static_cast<std::size_t>(kControlWidth) * kControlHeight);
  double updateMs = 0, reduceMs = 0, fillMs = 0;
  int origin = 0;
  for (auto _ : state) {
    origin = origin == 10 ? 20 : 10;
    const auto t0 = TClock::now();
    d.SpinEditOriginX.SetValue(origin);
    const auto t1 = TClock::now();
    // What the control's repaint does.
    if (!d.ImageWallpaper.Reduce(control.data(), kControlWidth, kControlHeight))
      ReducePicture(d.ImageWallpaper.Picture(), control.data(), kControlWidth, kControlHeight);
    const auto t2 = TClock::now();
    reference.Fill(MakeColor(0, 128, origin));
    const auto t3 = TClock::now();
    benchmark::DoNotOptimize(control.data());
    benchmark::DoNotOptimize(reference.Data());
    updateMs += Ms(t1 - t0);
    reduceMs += Ms(t2 - t1);
    fillMs += Ms(t3 - t2);
    state.SetIterationTime(std::chrono::duration<double>(t2 - t0).count());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["update_ms"] = updateMs / n;
  state.counters["reduce_ms"] = reduceMs / n;
  state.counters["fill_ms"] = fillMs / n;
  state.counters["ratio"] = (updateMs + reduceMs) / fillMs;
  state.counters["loads"] = d.FPictureCache.LoadCount();
  state.SetLabel(imageWidth * 2 <= kDesktopWidth && imageHeight * 2 <= kDesktopHeight
                     ? "update + reduction vs one fill, goal ratio <= 1"
                     : "update + reduction vs one fill, goal ratio <= 2");
}

void BM_OriginChangeCentred(benchmark::State& s) { OriginChange(s, 0, 0, false); }
void BM_OriginChangeCentredGrid(benchmark::State& s) { OriginChange(s, 0, 0, true); }
void BM_OriginChangeQuarter(benchmark::State& s) { OriginChange(s, 0, 0, false, 1920, 1080); }
void BM_OriginChangeQuarterGrid(benchmark::State& s) { OriginChange(s, 0, 0, true, 1920, 1080); }
void BM_OriginChangeTiled(benchmark::State& s) { OriginChange(s, 1, 0, false); }
void BM_OriginChangeStretched(benchmark::State& s) { OriginChange(s, 0, 2, false); }
void BM_OriginChangeStretchedTiled(benchmark::State& s) { OriginChange(s, 0, 3, false); }
BENCHMARK(BM_OriginChangeCentred)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeCentredGrid)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeQuarter)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeQuarterGrid)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeTiled)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeStretched)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OriginChangeStretchedTiled)->UseManualTime()->Unit(benchmark::kMillisecond);

// A new image: read and decoded again each time (the cache is emptied),
// against the decode alone plus one fill. Goal: ratio <= 1.
void BM_FirstUpdateWithNewImage(benchmark::State& state) {
  TBenchDialog b(0, 0, false);
  TFrmBXMain& d = *b.Dialog;
  TPixelBuffer reference(kDesktopWidth, kDesktopHeight);
  reference.Fill(0);  // its pages are the system's from here on, not part of a timed fill
  std::vector<TPixel> control(static_cast<std::size_t>(kControlWidth) * kControlHeight);
  double updateMs = 0, decodeMs = 0, fillMs = 0;
  // Each decode replaces the one before, as the dialog's image bitmap does.
  TPixelBuffer decoded;
  for (auto _ : state) {
    d.FPictureCache.Clear();
    const auto t0 = TClock::now();
    d.UpdatePreview();
    d.ImageWallpaper.Reduce(control.data(), kControlWidth, kControlHeight);
    const auto t1 = TClock::now();
    TPicture picture;
    picture.LoadFromFile(TBenchDialog::kPath);
    picture.Compose(decoded, 0);
    const auto t2 = TClock::now();
    reference.Fill(MakeColor(0, 128, 1));
    const auto t3 = TClock::now();
    benchmark::DoNotOptimize(control.data());
    benchmark::DoNotOptimize(reference.Data());
    updateMs += Ms(t1 - t0);
    decodeMs += Ms(t2 - t1);
    fillMs += Ms(t3 - t2);
  }
  state.counters["update_ms"] = updateMs / state.iterations();
  state.counters["decode_ms"] = decodeMs / state.iterations();
  state.counters["fill_ms"] = fillMs / state.iterations();
  state.counters["ratio"] = updateMs / (decodeMs + fillMs);
  state.counters["loads"] = d.FPictureCache.LoadCount();
  state.SetLabel("update + reduction vs decode + one fill, goal ratio <= 1");
}
BENCHMARK(BM_FirstUpdateWithNewImage)->Unit(benchmark::kMillisecond)->Iterations(5);

// Apply on a desktop that cannot place the image itself: the composition of
// the desktop-size wallpaper, row by row as Apply writes it, against one
// plain fill of that size; the whole Apply (encoding and writing the
// bitmap file too) as a figure of its own. Placed at an origin and tiled,
// on today's Windows with a monitor left of the primary, so that the rows
// are turned round too.
void BM_ApplyComposition(benchmark::State& state, int tile, int style) {
  TBenchDialog b(tile, style, false);
  TFrmBXMain& d = *b.Dialog;
  b.Env.System().WallpaperHost = TWallpaperHost::Windows;
  b.Env.System().SetMetric(kSmXVirtualScreen, -1280);
  d.SpinEditOriginX.SetValue(37);
  if (!d.FDesktopScene || d.FDesktopScene->Width() != kDesktopWidth) {
    state.SkipWithError("the wallpaper did not load");
    return;
  }
  const TDesktopLayout layout = b.Env.System().DesktopLayout();
  TPixelBuffer reference(kDesktopWidth, kDesktopHeight);
  reference.Fill(0);
  double composeMs = 0, fillMs = 0, applyMs = 0;
  int round = 0;
  for (auto _ : state) {
    const auto t0 = TClock::now();
    std::uint64_t sum = 0;
    ComposeDesktopRows(*d.FDesktopScene, layout,
                       [&](int, const TPixel* row) { sum += row[round % kDesktopWidth]; });
    const auto t1 = TClock::now();
    reference.Fill(MakeColor(0, 128, ++round & 0xFF));
    const auto t2 = TClock::now();
    d.ApplySettings();
    const auto t3 = TClock::now();
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(reference.Data());
    composeMs += Ms(t1 - t0);
    fillMs += Ms(t2 - t1);
    applyMs += Ms(t3 - t2);
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["compose_ms"] = composeMs / n;
  state.counters["fill_ms"] = fillMs / n;
  state.counters["apply_ms"] = applyMs / n;
  state.counters["ratio"] = composeMs / fillMs;
  state.SetLabel("composition of the desktop vs one fill");
}
void BM_ApplyCompositionCentred(benchmark::State& s) { BM_ApplyComposition(s, 0, 0); }
void BM_ApplyCompositionTiled(benchmark::State& s) { BM_ApplyComposition(s, 1, 0); }
void BM_ApplyCompositionStretched(benchmark::State& s) { BM_ApplyComposition(s, 0, 2); }
BENCHMARK(BM_ApplyCompositionCentred)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyCompositionTiled)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyCompositionStretched)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bx
