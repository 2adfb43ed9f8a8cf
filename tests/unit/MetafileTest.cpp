#include <gtest/gtest.h>

#include <string>

#include "components/Metafile.h"
#include "components/Picture.h"
#include "platform/Errors.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageWriters.h"
#include "tests/unit/WorstCaseMetafilePlayer.h"

namespace bx {
namespace {

using test::TBytes;

// Records what it is asked to play and paints the rectangle it is given.
class TRecordingPlayer : public IMetafilePlayer {
 public:
  bool Result = true;
  std::vector<std::uint8_t> Bytes;
  std::vector<int> Arguments;

  bool PlayEnhanced(const std::vector<std::uint8_t>& emf, TPixelBuffer& target, int x, int y,
                    int width, int height) override {
    Bytes = emf;
    Arguments = {x, y, width, height};
    target.FillRect({x, y, x + width, y + height}, MakeColor(0, 0, 255));
    return Result;
  }
  bool PlayWindows(const std::vector<std::uint8_t>& wmf, int boxLeft, int boxTop, int boxRight,
                   int boxBottom, int unitsPerInch, TPixelBuffer& target, int x, int y, int width,
                   int height) override {
    Bytes = wmf;
    Arguments = {boxLeft, boxTop, boxRight, boxBottom, unitsPerInch, x, y, width, height};
    target.FillRect({x, y, x + width, y + height}, MakeColor(0, 255, 0));
    return Result;
  }
};

TMetafileHeader Header(const TBytes& file, const TMetafileDisplay& display = {}) {
  TMetafileHeader h;
  EXPECT_TRUE(ReadMetafileHeader(file, display, h));
  return h;
}

bool Recognised(const TBytes& file) {
  TMetafileHeader h;
  return ReadMetafileHeader(file, TMetafileDisplay{}, h);
}

TEST(Metafile, PlaceableSizes) {
  TMetafileDisplay display;
  TMetafileHeader h = Header(test::WritePlaceableWmf(0, 0, 1440, 720, 1440), display);
  EXPECT_FALSE(h.Enhanced);
  EXPECT_EQ(h.MMWidth, 2540);
  EXPECT_EQ(h.MMHeight, 1270);
  EXPECT_EQ(h.Width, 96);
  EXPECT_EQ(h.Height, 48);
  display.LogPixelsX = 120;
  display.LogPixelsY = 144;
  h = Header(test::WritePlaceableWmf(-100, 50, 1340, 770, 1440), display);
  EXPECT_EQ(h.Width, 120);
  EXPECT_EQ(h.Height, 72);
  EXPECT_EQ(h.BoxLeft, -100);
  EXPECT_EQ(h.RecordsOffset, 22u);
  // No units per inch: 96 are taken, and the size goes through the screen's
  // pixels and millimetres.
  display.PixelsX = 1024;
  display.MillimetersX = 271;
  display.PixelsY = 768;
  display.MillimetersY = 203;
  h = Header(test::WritePlaceableWmf(0, 0, 96, 48, 0), display);
  EXPECT_EQ(h.MMWidth, 2540);
  EXPECT_EQ(h.MMHeight, 1270);
  EXPECT_EQ(h.Width, 96);   // 2540 * 1024 / 27100 = 95.98
  EXPECT_EQ(h.Height, 48);  // 1270 * 768 / 20300 = 48.05
}

TEST(Metafile, EnhancedSizes) {
  TMetafileHeader h = Header(test::WriteEmf(100, 200, 5180, 2740, 1280, 1024, 320, 256));
  EXPECT_TRUE(h.Enhanced);
  EXPECT_EQ(h.MMWidth, 5080);
  EXPECT_EQ(h.MMHeight, 2540);
  EXPECT_EQ(h.Width, 203);   // 5080 * 1280 / 32000 = 203.2
  EXPECT_EQ(h.Height, 102);  // 2540 * 1024 / 25600 = 101.6
  EXPECT_EQ(h.Length, 108u);
  EXPECT_EQ(Header(test::WriteEmf(0, 0, 1, 1, 50, 150, 1, 1)).Width, 1);  // 0.5 rounds up
  EXPECT_EQ(Header(test::WriteEmf(0, 0, 1, 1, 50, 150, 1, 1)).Height, 2);
}

TEST(Metafile, RecognitionRules) {
  const TBytes emf = test::WriteEmf(0, 0, 2540, 2540, 1024, 768, 271, 203);
  TBytes short100(emf.begin(), emf.begin() + 100);
  test::Set32(short100, 48, 100);
  EXPECT_FALSE(Recognised(short100));  // not longer than 100 bytes
  TBytes type = emf;
  type[0] = 2;
  EXPECT_FALSE(Recognised(type));
  TBytes signature = emf;
  signature[40] = 'X';
  EXPECT_FALSE(Recognised(signature));
  TBytes noMillimetres = emf;
  test::Set32(noMillimetres, 80, 0);
  EXPECT_FALSE(Recognised(noMillimetres));
  TBytes cut = emf;
  cut.resize(104);  // shorter than its header's byte count
  EXPECT_FALSE(Recognised(cut));

  const TBytes wmf = test::WritePlaceableWmf(0, 0, 1440, 1440, 1440);
  EXPECT_TRUE(Recognised(wmf));
  TBytes key = wmf;
  key[0] ^= 1;
  EXPECT_FALSE(Recognised(key));
  TBytes checksum = wmf;
  checksum[20] ^= 1;
  EXPECT_FALSE(Recognised(checksum));
  TBytes box = wmf;
  box[10] = 0x41;  // changes the box but not the checksum
  EXPECT_FALSE(Recognised(box));
  EXPECT_FALSE(Recognised(TBytes(wmf.begin(), wmf.begin() + 22)));
  EXPECT_FALSE(Recognised(TBytes(wmf.begin(), wmf.end() - 2)));  // fewer words than counted
  EXPECT_FALSE(Recognised({}));

  // Records whose sizes do not chain to the end.
  TBytes emfRecord = emf;
  test::Set32(emfRecord, 92, 4000);
  EXPECT_FALSE(Recognised(emfRecord));
  TBytes wmfRecord = wmf;
  test::Set32(wmfRecord, 22 + 18, 0x77777777);
  EXPECT_FALSE(Recognised(wmfRecord));
  TBytes wmfTiny = wmf;
  test::Set32(wmfTiny, 22 + 18, 1);
  EXPECT_FALSE(Recognised(wmfTiny));
}

TEST(Metafile, PlaysThroughThePlatformsPlayer) {
  TRecordingPlayer player;
  test::TImagePlatform platform(&player);
  const TBytes wmf = test::WritePlaceableWmf(10, 20, 1450, 740, 1440);
  platform.Files.Files["C:\\a.wmf"] = wmf;
  platform.Files.Files["C:\\b.WMF"] = test::WriteEmf(0, 0, 2540, 1270, 1024, 768, 271, 203);
  platform.Files.Files["C:\\c.emf"] = TBytes{1, 2, 3};

  TPicture picture;
  picture.LoadFromFile("C:\\a.wmf");
  EXPECT_EQ(picture.Width(), 96);
  EXPECT_EQ(picture.Height(), 48);
  TPixelBuffer target(100, 50);
  picture.Draw(target, 2, 1);
  EXPECT_EQ(player.Arguments, (std::vector<int>{10, 20, 1450, 740, 1440, 2, 1, 96, 48}));
  EXPECT_EQ(player.Bytes, TBytes(wmf.begin() + 22, wmf.end()));
  EXPECT_EQ(target.GetPixel(2, 1), MakeColor(0, 255, 0));
  EXPECT_EQ(target.GetPixel(1, 1), MakeColor(0, 0, 0));

  picture.LoadFromFile("C:\\b.WMF");  // the content decides the kind
  EXPECT_EQ(picture.Width(), 96);
  picture.Draw(target, 0, 0);
  EXPECT_EQ(player.Arguments, (std::vector<int>{0, 0, 96, 48}));
  EXPECT_EQ(player.Bytes.size(), 108u);

  player.Result = false;
  try {
    picture.Draw(target, 0, 0);
    ADD_FAILURE() << "drawn";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
  try {
    picture.LoadFromFile("C:\\c.emf");
    ADD_FAILURE() << "loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
}

TEST(Metafile, WorkBoundedByTheRecordsAndTheirArea) {
  // records x area within 2^31 pixels: the size itself; beyond it the same
  // proportions, or one pixel high and as wide as the budget leaves.
  auto size = [](std::uint64_t records, int width, int height) {
    int w = 0, h = 0;
    MetafilePlaySize(records, width, height, w, h);
    return std::vector<int>{w, h};
  };
  EXPECT_EQ(size(3, 96, 48), (std::vector<int>{96, 48}));
  EXPECT_EQ(size(256, 4096, 2048), (std::vector<int>{4096, 2048}));  // exactly 2^31
  EXPECT_EQ(size(257, 4096, 2048), (std::vector<int>{4088, 2044}));
  EXPECT_EQ(size(58253, 8192, 4096), (std::vector<int>{271, 135}));
  EXPECT_EQ(size(1 << 20, 1 << 25, 1), (std::vector<int>{2048, 1}));
  EXPECT_EQ(size(1ull << 32, 100, 100), (std::vector<int>{1, 1}));
  EXPECT_EQ(size(0, 0, 5), (std::vector<int>{0, 5}));

  // Drawn as the dialog draws them, by a player that walks the records as
  // GDI's does.
  test::TWorstCaseMetafilePlayer player;
  player.FillEachRecord = false;  // counted; filling each would only take long
  test::TImagePlatform platform(&player);
  const TColor background = MakeColor(0, 128, 128);
  struct TCase {
    const char* Name;
    TBytes File;
    int Width, Height;
    std::uint64_t Records;
    bool Scaled;
  };
  const TCase cases[] = {
      {"sound wmf", test::ManyFillWmf(2000, 96, 48), 96, 48, 110, false},
      {"sound emf", test::ManyFillEmf(2000, 300, 200), 300, 200, 80, false},
      {"wmf of 3638 fills", test::ManyFillWmf(64 << 10, 2048, 1024), 2048, 1024, 3640, true},
      {"emf of 2726 fills", test::ManyFillEmf(64 << 10, 2048, 1024), 2048, 1024, 2728, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    platform.Files.Files["C:\\a.wmf"] = c.File;
    TPicture picture;
    picture.LoadFromFile("C:\\a.wmf");
    ASSERT_EQ(picture.Width(), c.Width);
    ASSERT_EQ(picture.Height(), c.Height);
    TPixelBuffer bitmap;
    picture.Compose(bitmap, background);
    EXPECT_EQ(player.Records, c.Records);
    EXPECT_LE(player.Records * player.PlayWidth * player.PlayHeight, 1ull << 31);
    if (c.Scaled) {
      EXPECT_LT(player.PlayWidth, c.Width);
      // Not smaller than it needs: a pixel more each way would be too much.
      EXPECT_GT(player.Records * (player.PlayWidth + 1) * (player.PlayHeight + 1), 1ull << 31);
      EXPECT_EQ(player.PlayWidth / 8, player.PlayHeight * 2 / 8);
    } else {
      EXPECT_EQ(player.PlayWidth, c.Width);
      EXPECT_EQ(player.PlayHeight, c.Height);
    }
    // Every pixel shows the player's fill, scaled or not.
    const TColor last = MakeColor(1, 1, 1);
    for (auto [x, y] : {std::pair{0, 0}, {c.Width - 1, 0}, {c.Width / 2, c.Height / 2}, {c.Width - 1, c.Height - 1}})
      EXPECT_EQ(bitmap.GetPixel(x, y), last) << x << "," << y;
    // Drawn clipped at an offset: what the frame does not cover keeps its pixels.
    TPixelBuffer shifted(c.Width, c.Height);
    shifted.Fill(background);
    picture.Draw(shifted, -c.Width / 2, c.Height / 2);
    EXPECT_EQ(shifted.GetPixel(0, c.Height / 2 - 1), background);
    EXPECT_EQ(shifted.GetPixel(c.Width / 2 - 1, c.Height / 2), last);
    EXPECT_EQ(shifted.GetPixel(c.Width / 2, c.Height - 1), background);
  }
}

TEST(Metafile, RejectedWhereNoPlayerExists) {
  test::TImagePlatform platform;
  platform.Files.Files["C:\\a.emf"] = test::WriteEmf(0, 0, 2540, 1270, 1024, 768, 271, 203);
  TPicture picture;
  try {
    picture.LoadFromFile("C:\\a.emf");
    ADD_FAILURE() << "loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
  EXPECT_TRUE(picture.Empty());
}

}  // namespace
}  // namespace bx
