#include <gtest/gtest.h>

#include "binding/portable/PortableEnvironment.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "settings/Encodings.h"

namespace bx {
namespace {

TEST(RGBStringToColor, PartsEndAtBlanksAndBadPartsStayZero) {
  EXPECT_EQ(RGBStringToColor("0 128 255"), MakeColor(0, 128, 255));
  EXPECT_EQ(RGBStringToColor("255 255"), MakeColor(255, 0, 0));    // no second blank: green fails
  EXPECT_EQ(RGBStringToColor("1 2 3 4"), MakeColor(1, 2, 0));      // blue "3 4" is no number
  EXPECT_EQ(RGBStringToColor("x 1 2"), MakeColor(0, 0, 0));        // stops at the first part
  EXPECT_EQ(RGBStringToColor("1 x 3"), MakeColor(1, 0, 0));
  EXPECT_EQ(RGBStringToColor("300 256 -1"), MakeColor(44, 0, 255));  // low 8 bits
  EXPECT_EQ(RGBStringToColor("255"), MakeColor(0, 0, 0));          // red needs its blank
  EXPECT_EQ(RGBStringToColor(""), MakeColor(0, 0, 0));
  EXPECT_EQ(RGBStringToColor("1 2 "), MakeColor(1, 2, 0));
  EXPECT_EQ(RGBStringToColor("99999999999 2 3"), MakeColor(0, 0, 0));  // beyond 32 bits
}

TEST(ColorToRGBString, ThreeDecimalPartsAndReadsBack) {
  EXPECT_EQ(ColorToRGBString(MakeColor(0, 128, 255)), "0 128 255");
  EXPECT_EQ(ColorToRGBString(0xFF000000u | MakeColor(1, 2, 3)), "1 2 3");
  for (TColor c : {MakeColor(0, 0, 0), MakeColor(255, 255, 255), MakeColor(7, 80, 200)})
    EXPECT_EQ(RGBStringToColor(ColorToRGBString(c)), c);
}

TEST(PatternStringToBytes, TheLastNumberRepeatsAndBadTextGivesZeros) {
  TPattern bytes;
  bytes.fill(9);
  PatternStringToBytes("0 0 0 0 0 0 0 0", bytes);
  EXPECT_EQ(bytes, (TPattern{0, 0, 0, 0, 0, 0, 0, 0}));
  PatternStringToBytes("170 85 170 85 170 85 170 85", bytes);
  EXPECT_EQ(bytes, (TPattern{170, 85, 170, 85, 170, 85, 170, 85}));
  PatternStringToBytes("1 2", bytes);
  EXPECT_EQ(bytes, (TPattern{1, 2, 2, 2, 2, 2, 2, 2}));
  PatternStringToBytes("(None)", bytes);
  EXPECT_EQ(bytes, (TPattern{0, 0, 0, 0, 0, 0, 0, 0}));
  PatternStringToBytes("1 2 x 4 5 6 7 8", bytes);
  EXPECT_EQ(bytes, (TPattern{1, 2, 0, 0, 0, 0, 0, 0}));
  PatternStringToBytes("256 257 1 2 3 4 5 6 7 8", bytes);  // low 8 bits, extra numbers ignored
  EXPECT_EQ(bytes, (TPattern{0, 1, 1, 2, 3, 4, 5, 6}));
}

TEST(StrToInt, PlainDecimalWithinThirtyTwoBitsOnly) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "abc", " 1", "1 ", "-", "+", "1.5", "0x10", "2147483648",
                          "-2147483649", "99999999999999999999999"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

TEST(GetWindowsFolder, EndsInABackslash) {
  TPortableEnvironment env;
  EXPECT_EQ(GetWindowsFolder(), "C:\\Windows\\");
  env.Files().SetWindowsDirectory("D:\\WINNT\\");
  EXPECT_EQ(GetWindowsFolder(), "D:\\WINNT\\");
}

}  // namespace
}  // namespace bx
